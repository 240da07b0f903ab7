#!/usr/bin/env bash
# Builds (Release, build/ or $BUILD_DIR) and runs every benchmark, then prints
# the speed goals as ratios measured in the same run, and the start-up of the
# program against a bare JUCE window app built from the same JUCE library.
#
#   scripts/bench.sh                    everything
#   BENCH_REPETITIONS=5 STARTUP_RUNS=21 scripts/bench.sh
#   BENCH_FILTER=Document scripts/bench.sh   only the matching benchmarks
#
# Benchmark figures are CPU times (medians of the repetitions), so that other
# work on the machine disturbs the ratios less. The web model module
# (scripts/web.sh) is timed in Node on scheme files that the Linux build's
# counterparts (bench/ModuleCounterpartBench.cpp) read too (CPU times of the
# Node process). The start-up is timed on a
# private Xvfb by bench/startup/StartupProbe: from starting the program to
# its first painted window, and its peak resident memory; medians of
# STARTUP_RUNS runs, the two programs alternating. The web page's rows come
# from scripts/web.sh bench (headless Chromium; wall-clock medians, against the
# model's module doing the same work in the same tab).
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
BENCH_REPETITIONS=${BENCH_REPETITIONS:-3}
STARTUP_RUNS=${STARTUP_RUNS:-11}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}

scripts/deps.sh

if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    mkdir -p "$BUILD_DIR"
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release > "$BUILD_DIR.configure.log" 2>&1 \
        || { cat "$BUILD_DIR.configure.log"; exit 1; }
fi
cmake --build "$BUILD_DIR" -j "$(nproc)" --target tintwright_bench Tintwright TintwrightBareWindow StartupProbe
scripts/web.sh deps build

program=$(find "$BUILD_DIR" -path '*Tintwright_artefacts*' -type f -name Tintwright -perm -u+x | head -n 1)
bare=$(find "$BUILD_DIR" -path '*TintwrightBareWindow_artefacts*' -type f -name TintwrightBareWindow -perm -u+x | head -n 1)
probe=$BUILD_DIR/bench/startup/StartupProbe

# A private display, whatever DISPLAY says, so nothing else draws meanwhile.
unset DISPLAY
source scripts/xvfb.sh
start_xvfb_if_needed
export JUCE_FONT_PATH=/usr/share/fonts/truetype/dejavu

results=$(mktemp -d)
trap 'rm -rf "$results"; kill "${XVFB_PID:-}" 2> /dev/null || true' EXIT

# The web page in headless Chromium, against the model's module in the same tab.
WEB_BENCH_OUT=$results/page.json scripts/web.sh site bench

# Everything but the web module's Linux counterparts, which run beside it below.
"$BUILD_DIR/bench/tintwright_bench" --benchmark_filter="${BENCH_FILTER:--^Native}" \
    --benchmark_repetitions="$BENCH_REPETITIONS" \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/bench.json" --benchmark_out_format=json

# The web model module and its Linux counterparts on the same files, one
# right after the other, so that the machine's state is the same for both.
module_bench=web/model/bench/module.bench.mjs
node "$module_bench" schemes "$results/schemes"
TINTWRIGHT_BENCH_SCHEMES=$results/schemes "$BUILD_DIR/bench/tintwright_bench" --benchmark_filter='^Native' \
    --benchmark_repetitions="$BENCH_REPETITIONS" --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/native.json" --benchmark_out_format=json > /dev/null
node "$module_bench" measure "$results/schemes" "$results/module.json"

for i in $(seq 1 "$STARTUP_RUNS"); do
    "$probe" "Bare window" 20000 200 "$bare" >> "$results/bare.txt"
    "$probe" "Tintwright" 20000 200 "$program" >> "$results/program.txt"
done

python3 - "$results" << 'EOF'
import json, re, statistics, sys

folder = sys.argv[1]
data = json.load(open(folder + "/bench.json"))
native = json.load(open(folder + "/native.json"))
median, counters = {}, {}
for b in data["benchmarks"] + native["benchmarks"]:
    if b.get("aggregate_name") == "median":
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
        median[b["run_name"]] = b["cpu_time"] * scale  # milliseconds
        counters[b["run_name"]] = b
module = json.load(open(folder + "/module.json"))  # the web model module's CPU-time medians (ms)

def startup(name):
    runs = [dict(re.findall(r"(\w+)=([\d.]+)", line)) for line in open(f"{folder}/{name}.txt")]
    return (statistics.median(float(r["startup_ms"]) for r in runs),
            statistics.median(float(r["peak_rss_kb"]) for r in runs) / 1024.0)

rows = []
def ratio(label, a, b, goal, limit):
    if a in median and b in median:
        r = median[a] / median[b]
        rows.append((label, f"{median[a]:.2f} / {median[b]:.2f} ms", f"{r:.2f}x", goal,
                     "-" if limit is None else ("ok" if r <= limit else "MISSED")))

for n in ("1000", "10000", "100000"):
    ratio(f"Open {n} colours vs bare XmlDocument parse", f"DocumentOpen/{n}", f"DocumentOpenBareParse/{n}",
          "<= 0.5x" if n == "10000" else "", 0.5 if n == "10000" else None)
# The same pair taking turns within each iteration: the machine's drift hits both alike.
if "DocumentOpenPaired/10000" in counters:
    c = counters["DocumentOpenPaired/10000"]
    rows.append(("Open 10000 colours vs bare parse, taking turns", f"{c['open_ms']:.2f} / {c['bare_parse_ms']:.2f} ms",
                 f"{c['ratio']:.2f}x", "<= 0.5x", "ok" if c["ratio"] <= 0.5 else "MISSED"))
# check --json on one 3 MB name against a 3 MB file of short names, taking turns.
# (Before the quoting was made linear it took some 100 s: thousands of times the baseline.)
check_runs = [name for name in counters if name.startswith("CheckLongNamePaired")]
if check_runs:
    c = counters[check_runs[0]]
    rows.append(("check --json: one 3 MB name vs 3 MB of short names", f"{c['long_name_ms']:.2f} / {c['short_names_ms']:.2f} ms",
                 f"{c['ratio']:.2f}x", "<= 3x", "ok" if c["ratio"] <= 3 else "MISSED"))
ratio("Open 100k / open 10k", "DocumentOpen/100000", "DocumentOpen/10000", "<= 11x", 11)
ratio("Save 10k colours vs XmlElement::writeTo", "DocumentSave/10000", "DocumentSaveJuceWriter/10000", "<= 1.5x", 1.5)
# Linear is 10x, quadratic 100x; between 10k and 100k the member table leaves the
# caches, so a linear drop measures somewhat above 10x.
ratio("Drop 100k / drop 10k colours into a group", "DropColours/100000", "DropColours/10000",
      "linear: ~10x, not 100x", 30)
ratio("(format) bytes to model 10k vs bare parse", "SchemeOpen/10000", "SchemeOpenBareParse/10000", "", None)
ratio("(format) write 10k vs JUCE writer", "SchemeSave/10000", "SchemeSaveJuceWriter/10000", "", None)

# Slider moves on the real component tree, from the value change to the
# painted group colour list; the burst is 100 values then one paint.
if "LiveSliderStep/1000000" in median:
    ms = median["LiveSliderStep/1000000"]
    rows.append(("Slider step, 1M-member group (to the painted list)", f"{ms:.2f} ms",
                 f"{ms:.2f} ms", "<= 16 ms", "ok" if ms <= 16 else "MISSED"))
ratio("Burst of 100 slider values vs one step, 1M members", "LiveSliderBurst/1000000", "LiveSliderStep/1000000",
      "<= 2x", 2)
ratio("Slider step vs all members at once (as before), 1k members", "LiveSliderStep/1000",
      "LiveSliderStepAllAtOnce/1000", "<= 1.2x", 1.2)
for name, label in (("LiveApply/1000000", "Apply right after a step, 1M members"),
                    ("LiveSwitchToGroup/1000000", "Switch to the 1M-member group")):
    if name in median:
        ms = median[name]
        rows.append((label, f"{ms:.2f} ms", f"{ms:.2f} ms", "<= 150 ms", "ok" if ms <= 150 else "MISSED"))
ratio("Group list paint, 1M rows vs 1k rows", "LivePaintGroupList/1000000", "LivePaintGroupList/1000",
      "~1x (visible rows only)", 1.5)

# The web model module in Node against the Linux build, on the same files.
for what, module_name, native_name in (("open 10k colours", "ModuleOpen/10000", "NativeOpen/10000"),
                                       ("open 100k colours", "ModuleOpen/100000", "NativeOpen/100000"),
                                       ("save 10k colours", "ModuleSave/10000", "NativeSave/10000"),
                                       ("slider step, 1M-member group", "ModuleSliderStep/1000000",
                                        "NativeSliderStep/1000000")):
    if module_name in module and native_name in median:
        r = module[module_name] / median[native_name]
        rows.append((f"Web module vs Linux: {what}", f"{module[module_name]:.2f} / {median[native_name]:.2f} ms",
                     f"{r:.2f}x", "<= 2x", "ok" if r <= 2 else "MISSED"))

if "RepaintMainComponent" in median:
    ms = median["RepaintMainComponent"]
    rows.append(("Repaint 600x450, 1k colours, 1k-member group",
                 f"{ms:.2f} ms (no scheme {median.get('RepaintMainComponentNoScheme', 0):.2f} ms)",
                 f"{ms:.2f} ms", "<= 16 ms", "ok" if ms <= 16 else "MISSED"))

ratio("Repaint with 3 MB colour and group names vs ordinary names", "RepaintMainComponentLongNames",
      "RepaintMainComponent", "~1x (names cut before layout)", 1.5)

# The web page's rows, measured by scripts/web.sh bench.
rows.extend(tuple(r) for r in json.load(open(folder + "/page.json"))["rows"])

(pt, pm), (bt, bm) = startup("program"), startup("bare")
rows.append(("Start-up to first painted window", f"{pt:.1f} / {bt:.1f} ms", f"{pt / bt:.2f}x", "<= 1.2x",
             "ok" if pt / bt <= 1.2 else "MISSED"))
rows.append(("Start-up peak memory", f"{pm:.1f} / {bm:.1f} MB", f"{pm - bm:+.1f} MB", "<= +20 MB",
             "ok" if pm - bm <= 20 else "MISSED"))

widths = [max(len(str(r[i])) for r in rows + [("Measure", "Measured", "Ratio", "Goal", "")]) for i in range(5)]
line = lambda r: "  ".join(str(c).ljust(w) for c, w in zip(r, widths))
print()
print(line(("Measure", "Measured", "Ratio", "Goal", "")))
print(line(tuple("-" * w for w in widths)))
for r in rows:
    print(line(r))
print()
print("CPU-time medians of every benchmark (ms):")
for name, ms in median.items():
    print(f"  {name:45s} {ms:10.3f}")
print("CPU-time medians of the web model module in Node (ms):")
for name, ms in module.items():
    print(f"  {name:45s} {ms:10.3f}")
EOF
