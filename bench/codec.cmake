# Codec benchmarks: header read against full decode of a 24 MP JPEG made at
# run time (the sample photo upscaled, encoded by cjpeg from our TGA).
quorvane_add_bench(codec_bench
  SOURCES codec_bench.cpp
  LIBS quorvane_codec)
