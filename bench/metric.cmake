# The perceptual metric on a 12 MP pair (the sample photo and a damaged copy),
# one thread and all threads, each SIMD target, and the scalar oracle.
quorvane_add_bench(metric_bench
  SOURCES metric_bench.cpp
  LIBS quorvane_metric quorvane_metric_reference quorvane_codec)
