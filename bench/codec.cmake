# Codec benchmarks: header read against full decode of a 24 MP JPEG made at
# run time (the sample photo upscaled, encoded by cjpeg from our TGA).
quorvane_add_bench(codec_bench
  SOURCES codec_bench.cpp
  LIBS quorvane_codec)

# Rendering a full-size PQ and HLG AVIF (made from the sample photo at run
# time by avifenc) for SDR, with the mean CIEDE2000 against the photo.
quorvane_add_bench(hdr_bench
  SOURCES hdr_bench.cpp "${PROJECT_SOURCE_DIR}/tests/codec/colour_difference.cpp"
  LIBS quorvane_codec PkgConfig::PNG)
target_include_directories(hdr_bench PRIVATE "${PROJECT_SOURCE_DIR}/tests")
