# For those who have make: the same front door as scripts/dev.sh.
.PHONY: run test test-asan package bench clean

run test test-asan package bench:
	bash scripts/dev.sh $@

clean:
	rm -rf build build-asan
