quorvane_add_bench(intake_bench SOURCES intake_bench.cpp
  LIBS quorvane_viewmodels quorvane_codec Qt6::Core)
