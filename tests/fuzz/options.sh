# The fuzz harnesses and how each one runs, for scripts/fuzz.sh and replay.sh (sourced).
# shellcheck shell=bash disable=SC2034

fuzz_harnesses=(image_roster bitmap_stream canvas_drop message bus_endpoint field_parser config_text holiday_rules ics_reader)

# The same limits for fuzzing and for replaying: an input may take 2 GB and 30 s, one
# allocation 256 MB (a picture of 64 megapixels). A picture of ordinary size that a small
# input decodes to stays below that; what goes beyond is a decompression bomb or a header
# that promises more than comes, reported by libFuzzer as an out-of-memory ("oom-") input
# with the stack of the allocation, or a timeout ("timeout-").
fuzz_limits=(-rss_limit_mb=2048 -malloc_limit_mb=256 -timeout=30)

# fuzz_options NAME FUZZ_DIR: the options for fuzzing one harness: the largest input and,
# for the harnesses that read pictures, the dictionary of image format tokens. The harnesses
# that run Qt look for leaks only when their process ends (LeakSanitizer then checks the
# whole run): Qt's caches grow by some allocations on many inputs, and a leak check after
# each of those made them ten to fifty times slower.
fuzz_options() {
	local name=$1 dir=$2
	case $name in
		image_roster | canvas_drop) echo "-max_len=65536 -dict=$dir/images.dict -detect_leaks=0" ;;
		bitmap_stream) echo "-max_len=16384 -dict=$dir/images.dict" ;;
		message) echo "-max_len=4096" ;;
		bus_endpoint) echo "-max_len=4096 -detect_leaks=0" ;;
		field_parser) echo "-max_len=2048" ;;
		config_text) echo "-max_len=256" ;;
		holiday_rules) echo "-max_len=8192" ;;
		ics_reader) echo "-max_len=65536 -dict=$dir/ics.dict" ;;
		*) return 1 ;;
	esac
}

# Whether a harness needs a session bus.
fuzz_needs_bus() {
	[[ $1 == bus_endpoint ]]
}

# fuzz_focus NAME: the project's files that a harness is written for (an extended regular
# expression on their paths), for the coverage report (scripts/fuzz-coverage.sh).
fuzz_focus() {
	case $1 in
		image_roster) echo 'kit/translation/|kit/interface/(Bitmap|PixelConversion)\.cpp' ;;
		bitmap_stream) echo 'kit/translation/(BitmapStream|BitmapStreamFormat)\.cpp|kit/interface/(Bitmap|PixelConversion)\.cpp' ;;
		canvas_drop) echo 'imageio/|kit/translation/|kit/interface/DropDelivery\.cpp' ;;
		message) echo 'kit/app/(Message|MessageFlattening)\.cpp' ;;
		bus_endpoint) echo 'kit/app/(BusArguments|BusProtocol|MessageEndpoint|BusCall)\.cpp' ;;
		field_parser) echo 'tools/dorva-send/FieldParser\.cpp|kit/app/BusProtocol\.cpp' ;;
		config_text) echo 'config/(color_scan|font_label)\.cpp|canvas/utf8_cut\.cpp' ;;
		holiday_rules) echo 'canvas/(holiday_rules|holiday_engine|easter|astronomy|korean_lunar|civil_date)\.cpp' ;;
		ics_reader) echo 'canvas/(ics_[a-z]+|holiday_set)\.cpp' ;;
		*) return 1 ;;
	esac
}
