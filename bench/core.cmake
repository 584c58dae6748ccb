quorvane_add_bench(intake_bench SOURCES intake_bench.cpp
  LIBS quorvane_viewmodels quorvane_codec Qt6::Core)

add_executable(event_loop_stall event_loop_stall.cpp)
target_link_libraries(event_loop_stall PRIVATE quorvane_viewmodels quorvane_codec Qt6::Core)
