// Throughput of every cipher core operation on texts of 1 MB and 64 MB, with
// a memcpy of the same size in the same run as the physical reference.
//
//   build/bench/core/core_bench
//
// Each figure is bytes of input per second; the 64 MB time divided by the
// 1 MB time shows whether an operation stays linear.
#include "cipher_core.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

namespace trithemius {
namespace {

constexpr std::int64_t kMegabyte = 1 << 20;

// German prose with the characters the normaliser treats specially.
std::string Prose(std::size_t size) {
    const std::string_view sentence =
        "Am 3. M\xE4rz 1499 schrieb der Abt einen Brief \x84\xFC"
        "ber geheime Schrift\x93, "
        "gr\xFC\xDF"
        "te seine Freunde und versprach: \"Jede Zeile l\xE4sst sich lesen!\"\r\n";
    std::string text;
    text.reserve(size + sentence.size());
    while (text.size() < size) text += sentence;
    text.resize(size);
    return text;
}

std::string Letters(std::size_t size, std::string_view alphabet) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string text(size, 'A');
    for (char& c : text) c = alphabet[pick(random)];
    return text;
}

void BM_Memcpy(benchmark::State& run) {
    const std::string source = Letters(static_cast<std::size_t>(run.range(0)), kModernAlphabetA);
    std::string target(source.size(), ' ');
    for (auto _ : run) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    run.SetBytesProcessed(run.iterations() * run.range(0));
}

void BM_NormaliseInput(benchmark::State& run) {
    const std::string raw = Prose(static_cast<std::size_t>(run.range(0)));
    CipherState state;
    for (auto _ : run) {
        NormaliseInput(state, raw, Method::MethodClassical);
        benchmark::DoNotOptimize(state.InputText.data());
    }
    run.SetBytesProcessed(run.iterations() * run.range(0));
}

void BM_GenerateKeyStream(benchmark::State& run) {
    CipherState state;
    state.InputText = Letters(static_cast<std::size_t>(run.range(0)), kClassicalAlphabetA);
    for (auto _ : run) {
        GenerateKeyStream(state, 7);
        benchmark::DoNotOptimize(state.KeyStream.data());
    }
    run.SetBytesProcessed(run.iterations() * run.range(0));
}

template <Method method, Direction direction>
void BM_ApplyCipher(benchmark::State& run) {
    CipherState state;
    SelectKeyAlphabet(state, method, KeyStart::KeyStartA);
    state.InputText = Letters(static_cast<std::size_t>(run.range(0)), state.KeyAlphabet);
    GenerateKeyStream(state, 7);
    for (auto _ : run) {
        ApplyCipher(state, method, KeyStart::KeyStartA, direction);
        benchmark::DoNotOptimize(state.OutputText.data());
    }
    run.SetBytesProcessed(run.iterations() * run.range(0));
}

void BM_ToFiveLetterBlocks(benchmark::State& run) {
    CipherState state;
    const std::string text = Letters(static_cast<std::size_t>(run.range(0)), kModernAlphabetA);
    for (auto _ : run) {
        benchmark::DoNotOptimize(ToFiveLetterBlocks(state, text).data());
    }
    run.SetBytesProcessed(run.iterations() * run.range(0));
}

#define TRITHEMIUS_SIZES Arg(kMegabyte)->Arg(64 * kMegabyte)->Unit(benchmark::kMillisecond)

BENCHMARK(BM_Memcpy)->TRITHEMIUS_SIZES;
BENCHMARK(BM_NormaliseInput)->TRITHEMIUS_SIZES;
BENCHMARK(BM_GenerateKeyStream)->TRITHEMIUS_SIZES;
BENCHMARK(BM_ApplyCipher<Method::MethodModern, Direction::Encipher>)->TRITHEMIUS_SIZES;
BENCHMARK(BM_ApplyCipher<Method::MethodModern, Direction::Decipher>)->TRITHEMIUS_SIZES;
BENCHMARK(BM_ApplyCipher<Method::MethodClassical, Direction::Encipher>)->TRITHEMIUS_SIZES;
BENCHMARK(BM_ApplyCipher<Method::MethodClassical, Direction::Decipher>)->TRITHEMIUS_SIZES;
BENCHMARK(BM_ToFiveLetterBlocks)->TRITHEMIUS_SIZES;

}  // namespace
}  // namespace trithemius

BENCHMARK_MAIN();
