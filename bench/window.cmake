if(QUORVANE_BUILD_GUI)
  add_executable(window_bench window_bench.cpp)
  target_link_libraries(window_bench PRIVATE quorvane_shell quorvane_codec)
endif()
