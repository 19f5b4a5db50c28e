#include "app/Credits.h"

#include "corvana/Version.h"

namespace corvana {

std::string VersionLine(int major, int minor) {
    return "Version: " + std::to_string(major) + "." + std::to_string(minor);
}

CreditsTexts Credits() {
    return {
        version::Title,
        VersionLine(version::Major, version::Minor),
        version::FileDescription,
        version::LegalNotice,
        "Created by:",
        "Corvana developers",
        "Visit our web sites for news, more puzzles and help:",
        "https://corvana.example.org",
        "https://corvana.example.org/help",
    };
}

} // namespace corvana
