# Conversion engine. heic_calibration is a plain measuring program, run by
# hand on a set of photos; engine_bench times whole conversions against the
# bare encoders and measures peak memory.
quorvane_add_bench(heic_calibration
  SOURCES heic_calibration.cpp
  LIBS quorvane_services quorvane_codec PkgConfig::VIPS)
quorvane_add_bench(engine_bench
  SOURCES engine_bench.cpp
  LIBS quorvane_services quorvane_codec Qt6::Core)
# The PNG road on a set of images: bytes, colour error, time.
quorvane_add_bench(png_road_bench
  SOURCES png_road_bench.cpp
  LIBS quorvane_services quorvane_codec Qt6::Core)
# What Auto saves against each single format at the same look.
quorvane_add_bench(auto_bench
  SOURCES auto_bench.cpp
  LIBS quorvane_services quorvane_codec Qt6::Core)
# Transparent PNGs: the PNG road against pngquant, bytes and alpha-aware error.
quorvane_add_bench(alpha_palette_bench
  SOURCES alpha_palette_bench.cpp
  LIBS quorvane_services quorvane_codec Qt6::Core)
