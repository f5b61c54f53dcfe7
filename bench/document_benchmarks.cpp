// Inner steps of the editor's document: the package reader, the save-time
// sort and the package writer, on generated packages.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <random>

#include "bench_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/PackageReader.h"
#include "editor/document/PackageWriter.h"
#include "editor/document/ProgramDirectory.h"

namespace {

using namespace skedlin;

const QString kPrefix = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>");

int contactsFor(int events) { return events >= 58000 ? 999 : 100; }

// Reads a generated package into `document`; false (and the benchmark skipped) when it does not read.
bool readInto(benchmark::State& state, int events, CSkedlinDoc& document) {
    setProgramDirectory(QString::fromStdString(bench::binDirectory()));
    document.clear();
    document.setPathName(QString::fromStdString(bench::packagePath(events, contactsFor(events))));
    if (const OpenResult read = readPackage(document.pathName(), document); !read) {
        state.SkipWithError(read.message().toStdString().c_str());
        return false;
    }
    return true;
}

void BM_PackageReader(benchmark::State& state) {
    const auto events = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CSkedlinDoc document;
        if (!readInto(state, events, document)) return;
        benchmark::DoNotOptimize(document.events().size());
    }
    state.SetComplexityN(events);
    state.SetItemsProcessed(state.iterations() * events);
}
BENCHMARK(BM_PackageReader)->Arg(580)->Arg(5800)->Arg(58000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void BM_PackageWriter(benchmark::State& state) {
    const auto events = static_cast<int>(state.range(0));
    CSkedlinDoc document;
    if (!readInto(state, events, document)) return;
    for (auto _ : state) benchmark::DoNotOptimize(writePackage(document, kPrefix).size());
    state.SetComplexityN(events);
    state.SetItemsProcessed(state.iterations() * events);
}
BENCHMARK(BM_PackageWriter)->Arg(580)->Arg(5800)->Arg(58000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// The save-time sort of a document whose events, contacts and groups are
// shuffled, as after an import or many edits.
void BM_DocumentSort(benchmark::State& state) {
    const auto events = static_cast<int>(state.range(0));
    CSkedlinDoc read;
    if (!readInto(state, events, read)) return;
    QList<EventEntry> shuffledEvents = read.events();
    QList<ContactEntry> shuffledContacts = read.contacts();
    std::mt19937 random(7);
    std::shuffle(shuffledEvents.begin(), shuffledEvents.end(), random);
    std::shuffle(shuffledContacts.begin(), shuffledContacts.end(), random);
    CSkedlinDoc shuffled;
    for (const EventEntry& event : shuffledEvents) shuffled.appendEventUnchecked(event);
    for (const ContactEntry& contact : shuffledContacts) shuffled.appendContactUnchecked(contact);
    for (const GroupEntry& group : read.groups()) shuffled.appendGroupUnchecked(group);

    CSkedlinDoc document;
    for (auto _ : state) {
        state.PauseTiming();
        document.assignFrom(shuffled);
        state.ResumeTiming();
        document.sort();
        benchmark::DoNotOptimize(document.events().constData());
    }
    state.SetComplexityN(events);
    state.SetItemsProcessed(state.iterations() * events);
}
BENCHMARK(BM_DocumentSort)
    ->Arg(580)
    ->Arg(5800)
    ->Arg(58000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);  // QSettings and the program directory want one
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
