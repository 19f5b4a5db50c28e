// Feeds arbitrary bytes to the kept game's reader. Whatever the text, it must end in a game or a
// short reason without a crash, a sanitizer report or a hang; a game it reads must come back the
// same through the file it is written to.

#include "play/SavedGame.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    corvana::SavedGame game;
    std::string error;
    if (!corvana::GameFromText(text, game, error)) {
        if (error.empty() || error.size() > 400)
            std::abort();
        return 0;
    }
    const nlohmann::json written = corvana::GameToJson(game);
    corvana::SavedGame again;
    if (!corvana::GameFromText(written.dump(1), again, error) || corvana::GameToJson(again) != written)
        std::abort();
    return 0;
}
