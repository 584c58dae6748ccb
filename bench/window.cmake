if(QUORVANE_BUILD_GUI)
  add_executable(window_bench window_bench.cpp)
  target_link_libraries(window_bench PRIVATE quorvane_shell quorvane_codec)
endif()
# The compare view's model on one photo: time to the first and the full
# pictures, the difference map and a trial encode.
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(compare_bench compare_bench.cpp)
target_link_libraries(compare_bench PRIVATE quorvane_viewmodels quorvane_codec Qt6::Test)
