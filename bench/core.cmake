add_executable(batch_bench batch_bench.cpp)
target_link_libraries(batch_bench PRIVATE quorvane_viewmodels quorvane_codec Qt6::Core)

add_executable(event_loop_stall event_loop_stall.cpp)
target_link_libraries(event_loop_stall PRIVATE quorvane_viewmodels quorvane_codec Qt6::Core)

# The ledger of a large photo library: load, look up, record, save.
quorvane_add_bench(conversion_ledger_bench
  SOURCES conversion_ledger_bench.cpp
  LIBS quorvane_services Qt6::Core)
