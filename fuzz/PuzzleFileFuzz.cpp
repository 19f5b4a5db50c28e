// Feeds arbitrary bytes to the program's puzzle file reader. Whatever the text, it must end in a
// puzzle or a short reason without a crash, a sanitizer report or a hang; a puzzle it reads must
// come back the same through the file it is written to.

#include "puzzle/PuzzleFile.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    corvana::PuzzleState state;
    std::string error;
    if (!corvana::PuzzleForPlayFromText(text, state, error)) {
        if (error.empty() || error.size() > 400)
            std::abort();
        return 0;
    }
    const nlohmann::json written = corvana::PuzzleToJson(state);
    corvana::PuzzleState again;
    if (!corvana::PuzzleForPlayFromText(written.dump(1), again, error) ||
        corvana::PuzzleToJson(again) != written)
        std::abort();
    return 0;
}
