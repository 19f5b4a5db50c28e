#pragma once

// The texts of the credits window, from the program's version record. Qt-free.

#include <string>

namespace corvana {

struct CreditsTexts {
    std::string title;       // Label1
    std::string version;     // Label2: "Version: " major.minor
    std::string description; // Label7
    std::string legal;       // Label8
    std::string createdBy;   // Label3
    std::string author;      // Label4
    std::string invitation;  // Label5
    std::string site;        // Label6
    std::string siteHelp;    // Label9
};

// "Version: 2.0" for version 2.0.0: the revision is not shown.
std::string VersionLine(int major, int minor);

CreditsTexts Credits();

} // namespace corvana
