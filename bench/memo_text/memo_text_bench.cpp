// Time of the memo-text conversion on German prose of 1, 4 and 10 MB, composed
// and decomposed (each umlaut a letter and U+0308), and on one letter
// followed by 100 000 combining marks.
//
//   build/bench/memo_text/memo_text_bench
//
// Each figure is UTF-16 units of text per second; the 10 MB time divided by
// the 1 MB time shows whether the conversion stays linear.
#include "memo_text.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

constexpr qsizetype kMegabyte = 1 << 20;

// German prose of `size` characters when composed, in the given form.
QString Prose(qsizetype size, QString::NormalizationForm form) {
    const QString sentence = QStringLiteral(
        "Am 3. M\u00e4rz 1499 schrieb der Abt einen Brief \u201E\u00fcber geheime Schrift\u201C, "
        "gr\u00fc\u00dfte seine Freunde und versprach: Jede Zeile l\u00e4sst sich \u00f6ffentlich "
        "lesen!\n");
    return sentence.normalized(form).repeated(size / sentence.size());
}

void Convert(benchmark::State& run, const QString& text, qsizetype characters) {
    for (auto _ : run) {
        benchmark::DoNotOptimize(trithemius::MemoTextToCipherText(text));
    }
    run.SetItemsProcessed(run.iterations() * characters);
}

void BM_ComposedProse(benchmark::State& run) {
    const QString text = Prose(run.range(0) * kMegabyte, QString::NormalizationForm_C);
    Convert(run, text, text.size());
}

void BM_DecomposedProse(benchmark::State& run) {
    const QString text = Prose(run.range(0) * kMegabyte, QString::NormalizationForm_D);
    Convert(run, text, text.size());
}

void BM_LongMarkRun(benchmark::State& run) {
    const QString text = QStringLiteral("a") + QStringLiteral("\u0308\u0323").repeated(50'000);
    Convert(run, text, text.size());
}

BENCHMARK(BM_ComposedProse)->Arg(1)->Arg(4)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecomposedProse)->Arg(1)->Arg(4)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongMarkRun)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
