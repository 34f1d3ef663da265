// Time of the memo-text conversion on German prose of 1, 4 and 10 MB, composed
// and decomposed (each umlaut a letter and U+0308), and on one letter
// followed by 100 000 combining marks; and of the piece-wise conversion on
// prose of 1 and 10 MB handed over as the memo holds it, in pieces of 4096
// characters in the one-byte form (the prose's „ and “ have a byte there) or
// in UTF-16, composed and decomposed.
//
//   build/bench/memo_text/memo_text_bench
//
// Each figure is UTF-16 units of text per second; the 10 MB time divided by
// the 1 MB time shows whether the conversion stays linear.
#include "memo_text.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <string>
#include <string_view>

namespace {

constexpr qsizetype kMegabyte = 1 << 20;
constexpr qsizetype kPieceLength = 4096;

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

void BM_OneBytePieces(benchmark::State& run) {
    // Composed prose in Windows-1252 is its one-byte form.
    const std::string text = trithemius::MemoTextToCipherText(
        Prose(run.range(0) * kMegabyte, QString::NormalizationForm_C));
    for (auto _ : run) {
        trithemius::CipherTextWriter writer(text.size());
        for (std::size_t from = 0; from < text.size(); from += kPieceLength) {
            writer.AppendOneByte(std::string_view(text).substr(from, kPieceLength));
        }
        benchmark::DoNotOptimize(writer.Finish());
    }
    run.SetItemsProcessed(run.iterations() * static_cast<qsizetype>(text.size()));
}

void BM_Utf16Pieces(benchmark::State& run) {
    const auto form =
        run.range(1) != 0 ? QString::NormalizationForm_D : QString::NormalizationForm_C;
    const QString text = Prose(run.range(0) * kMegabyte, form);
    for (auto _ : run) {
        trithemius::CipherTextWriter writer(static_cast<std::size_t>(text.size()));
        for (qsizetype from = 0; from < text.size(); from += kPieceLength) {
            writer.AppendUtf16(QStringView(text).mid(from, kPieceLength));
        }
        benchmark::DoNotOptimize(writer.Finish());
    }
    run.SetItemsProcessed(run.iterations() * text.size());
}

BENCHMARK(BM_ComposedProse)->Arg(1)->Arg(4)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecomposedProse)->Arg(1)->Arg(4)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongMarkRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneBytePieces)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
// The second argument is 1 for decomposed prose.
BENCHMARK(BM_Utf16Pieces)
    ->Args({1, 0})
    ->Args({10, 0})
    ->Args({1, 1})
    ->Args({10, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
