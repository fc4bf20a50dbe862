// Engine micro-benchmarks: each table path beside the iconv path it replaces, the fused chains,
// the glossary with many pairs, and streaming in blocks. Bytes per second are of the input.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "engine/chinese_chain.h"
#include "engine/chinese_map.h"
#include "engine/codepage.h"
#include "engine/codepage_iconv.h"
#include "engine/conversion.h"
#include "engine/glossary.h"

namespace morvane {
namespace {

// GBK text of common characters with some ASCII punctuation and line ends, like prose.
const Bytes& GbkText() {
    static const Bytes text = [] {
        std::mt19937 random(1);
        Bytes t;
        while (t.size() < (8u << 20)) {
            for (int i = 0; i < 40; ++i) {
                t += static_cast<char>(0xB0 + random() % 0x28);
                t += static_cast<char>(0xA1 + random() % 0x5E);
            }
            t += random() % 3 == 0 ? ", " : "\r\n";
        }
        return t;
    }();
    return text;
}

const Bytes& Big5Text() {
    static const Bytes text = [] {
        Bytes t = GbkText();
        ConvertCodePage(t, 936, 950);
        return t;
    }();
    return text;
}

// Fifty thousand pairs of two to four characters drawn from the same characters as the text.
const CGlossary& LargeGlossary() {
    static const CGlossary glossary = [] {
        std::mt19937 random(2);
        CGlossary g;
        for (int i = 0; i < 50000; ++i) {
            std::string key;
            const int characters = 2 + static_cast<int>(random() % 3);
            for (int c = 0; c < characters; ++c) {
                key += static_cast<char>(0xB0 + random() % 0x28);
                key += static_cast<char>(0xA1 + random() % 0x5E);
            }
            g.Add(key, key, GLOSSARY_TO_TRADITIONAL);
        }
        return g;
    }();
    return glossary;
}

template <typename Convert> void Run(benchmark::State& state, const Bytes& input, Convert convert) {
    for (auto _ : state) {
        Bytes text = input;
        convert(text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

void GbkToBig5Table(benchmark::State& state) {
    Run(state, GbkText(), [](Bytes& t) { ConvertCodePage(t, 936, 950); });
}
BENCHMARK(GbkToBig5Table);

void GbkToBig5Iconv(benchmark::State& state) {
    Run(state, GbkText(), [](Bytes& t) { ConvertCodePageWithIconv(t, 936, 950); });
}
BENCHMARK(GbkToBig5Iconv);

void GbkToUtf8TableDecoder(benchmark::State& state) {
    Run(state, GbkText(), [](Bytes& t) { ConvertCodePage(t, 936, 65001); });
}
BENCHMARK(GbkToUtf8TableDecoder);

void GbToBig5Fused(benchmark::State& state) {
    static const CGlossary none;
    Run(state, GbkText(), [](Bytes& t) { GbToBig5(t, none, false); });
}
BENCHMARK(GbToBig5Fused);

void GbToBig5StepByStep(benchmark::State& state) {
    Run(state, GbkText(), [](Bytes& t) {
        Bytes mapped;
        MapToTraditional(t, mapped);
        ConvertCodePageWithIconv(mapped, 936, 950);
        t.swap(mapped);
    });
}
BENCHMARK(GbToBig5StepByStep);

void Big5ToGbFused(benchmark::State& state) {
    static const CGlossary none;
    Run(state, Big5Text(), [](Bytes& t) { Big5ToGb(t, none, false, true); });
}
BENCHMARK(Big5ToGbFused);

void GlossaryFiftyThousandPairs(benchmark::State& state) {
    Run(state, GbkText(), [](Bytes& t) {
        Bytes out;
        LargeGlossary().ApplyToTraditional(t, out);
        t.swap(out);
    });
}
BENCHMARK(GlossaryFiftyThousandPairs);

void GbToBig5WithGlossary(benchmark::State& state) {
    Run(state, GbkText(), [](Bytes& t) { GbToBig5(t, LargeGlossary(), true); });
}
BENCHMARK(GbToBig5WithGlossary);

// The batch path's shape: the same conversion pushed in blocks of the given size.
void GbToBig5InBlocks(benchmark::State& state) {
    const Bytes& input = GbkText();
    const auto block = static_cast<std::size_t>(state.range(0));
    Conversion conversion;
    conversion.kind = ConversionKind::GbToBig5;
    conversion.decodeUtf16Mark = true;
    for (auto _ : state) {
        const auto stage = MakeConversion(conversion);
        Bytes out;
        for (std::size_t done = 0; done < input.size(); done += block) {
            out.clear();
            stage->Push(std::string_view(input).substr(done, block), done + block >= input.size(),
                        out);
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}
BENCHMARK(GbToBig5InBlocks)->Arg(4096)->Arg(1 << 20);

} // namespace
} // namespace morvane
