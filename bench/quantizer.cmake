# Quantiser benchmarks: each stage per SIMD target, against the scalar oracle, the
# whole call at 64/128/256 colours, pixel scaling, and libimagequant as a baseline.
# Photos come from ../shared/samples, decoded once with ImageMagick's `convert`
# into $TMPDIR/quorvane-bench/ at first run.
pkg_check_modules(IMAGEQUANT REQUIRED IMPORTED_TARGET imagequant)
quorvane_add_bench(quantizer_bench
  SOURCES quantizer_bench.cpp
  LIBS quorvane_quantizer quorvane_quantizer_reference PkgConfig::IMAGEQUANT)
