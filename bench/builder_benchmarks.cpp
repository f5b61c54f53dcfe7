// Inner steps of the builder: Pocket PC resource insertion (with the in-place
// reference method beside it), record encoding, and the whole read of a package.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bench_support.h"
#include "builder/EventRecord.h"
#include "builder/PackageBuilder.h"
#include "builder/ResourceIds.h"
#include "builder/pocketpc/InPlaceResourceSection.h"
#include "formats/pe/PeLayout.h"
#include "builder/pocketpc/PocketPcExecutable.h"
#include "templates/pocketpc/PocketPcTemplate.h"

namespace {

using namespace skedlin;
using builder::kFirstEventId;

// An event record of typical size (a title, a short note, a weekly rule).
EventValues typicalEvent(int index) {
    EventValues event;
    const CalendarDate date{2004, 1 + index % 12, 1 + index % 28};
    event.date = {date, palmDate(date)};
    event.start = TimeOfDay{9 + index % 8, 30};
    event.end = TimeOfDay{10 + index % 8, 15};
    EventRepeat repeat;
    repeat.type = RepeatType::Weekly;
    repeat.frequency = 1;
    repeat.mask = weekdayMaskOfDate(date);
    const CalendarDate until{2004, 12, 20};
    repeat.endDate = EventDate{until, palmDate(until)};
    repeat.exceptions = {palmDate(CalendarDate{2004, 6, 1}), palmDate(CalendarDate{2004, 7, 6})};
    event.repeat = repeat;
    event.title = "Workshop " + std::to_string(index) + ": room " + std::to_string(index % 40);
    event.note = "Bring the handouts.\nCoffee at the break.";
    return event;
}

std::unique_ptr<PocketPcExecutable> loadTemplate(benchmark::State& state) {
    std::unique_ptr<PocketPcExecutable> exe;
    if (const auto loaded = PocketPcExecutable::load(templates::pocketPcTemplateImage(), exe); !loaded.ok())
        state.SkipWithError(loaded.message().c_str());
    return exe;
}

// n event records into the template executable, then the whole image.
void BM_PocketPcInsertRecords(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    const std::vector<std::uint8_t> record = *pocketPcEventRecord(typicalEvent(1));
    for (auto _ : state) {
        auto exe = loadTemplate(state);
        if (!exe) return;
        for (int i = 0; i < count; ++i) exe->addRecord(static_cast<std::uint16_t>(kFirstEventId + i), record);
        std::vector<std::uint8_t> image;
        if (const auto built = exe->buildImage(image); !built.ok()) {
            state.SkipWithError(built.message().c_str());
            return;
        }
        benchmark::DoNotOptimize(image.data());
    }
    state.SetComplexityN(count);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_PocketPcInsertRecords)
    ->RangeMultiplier(4)
    ->Range(1024, 58000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// The same insertions made in place, one at a time: the reference method, whose
// cost grows with the square of the count.
void BM_InPlaceInsertRecords(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    const std::vector<std::uint8_t> record = *pocketPcEventRecord(typicalEvent(1));
    auto exe = loadTemplate(state);
    if (!exe) return;
    const ResourceSectionEditor& section = exe->resources();
    const std::vector<std::uint8_t> raw = section.rawData();
    for (auto _ : state) {
        InPlaceResourceSection inPlace(raw, section.usedSize(), section.sectionRva());
        for (int i = 0; i < count; ++i) {
            inPlace.insert(pe::kResourceTypeRawData, static_cast<std::uint16_t>(kFirstEventId + i), record);
        }
        benchmark::DoNotOptimize(inPlace.rawData().data());
    }
    state.SetComplexityN(count);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_InPlaceInsertRecords)->RangeMultiplier(2)->Range(512, 4096)->Unit(benchmark::kMillisecond)->Complexity();

void BM_PalmEventRecord(benchmark::State& state) {
    const EventValues event = typicalEvent(3);
    for (auto _ : state) benchmark::DoNotOptimize(palmEventRecord(event));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PalmEventRecord);

void BM_PocketPcEventRecord(benchmark::State& state) {
    const EventValues event = typicalEvent(3);
    for (auto _ : state) benchmark::DoNotOptimize(pocketPcEventRecord(event));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PocketPcEventRecord);

// Load, validate and walk a generated package into both targets; nothing is written.
void BM_BuilderRead(benchmark::State& state) {
    const auto events = static_cast<int>(state.range(0));
    const std::string& path = bench::packagePath(events, events >= 58000 ? 999 : 100);
    for (auto _ : state) {
        builder::BuildOptions options;
        options.inputPath = path;
        options.outputBase = path + ".out";
        options.palmTarget = true;
        options.pocketPcTarget = true;
        options.builderDirectory = bench::binDirectory();
        builder::PackageBuilder packageBuilder(options);
        if (const builder::BuildResult result = packageBuilder.read(); !result.ok()) {
            state.SkipWithError(result.message().c_str());
            return;
        }
    }
    state.SetComplexityN(events);
    state.SetItemsProcessed(state.iterations() * events);
}
BENCHMARK(BM_BuilderRead)->Arg(580)->Arg(5800)->Arg(58000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
