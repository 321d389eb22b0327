// NaturalCompare on three names cut from any bytes: a strict weak order (irreflexive,
// antisymmetric, transitive), zero only for equal names.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/engine.h"
#include "fuzz/fuzz_check.h"

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::array<std::string, 3> names{provider.ConsumeRandomLengthString(256),
                                           provider.ConsumeRandomLengthString(256),
                                           provider.ConsumeRemainingBytesAsString()};
    std::array<std::array<int, 3>, 3> order{};
    for (std::size_t a = 0; a < 3; ++a)
        for (std::size_t b = 0; b < 3; ++b)
            order[a][b] = Sign(engine::NaturalCompare(names[a], names[b]));
    for (std::size_t a = 0; a < 3; ++a) {
        for (std::size_t b = 0; b < 3; ++b) {
            FUZZ_CHECK(order[a][b] == -order[b][a]);
            FUZZ_CHECK((order[a][b] == 0) == (names[a] == names[b]));
            for (std::size_t c = 0; c < 3; ++c)
                FUZZ_CHECK(!(order[a][b] < 0 && order[b][c] < 0) || order[a][c] < 0);
        }
    }
    return 0;
}
