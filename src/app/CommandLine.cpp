#include "app/CommandLine.h"

#include "puzzle/RandomSource.h"
#include "puzzle/Templates.h"

#include <CLI/CLI.hpp>

#include <climits>
#include <cstdint>
#include <sstream>

namespace corvana {

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    StartRequest& r = result.request;

    CLI::App app("Corvana: number fill-in puzzles.", "corvana");
    app.footer("Without arguments only the main window opens. The game in progress is kept in\n"
               "$XDG_STATE_HOME/corvana/last-game.json (~/.local/state/corvana/ when unset).");
    CLI::Option* file =
        app.add_option("FILE", r.file, "A puzzle saved by corvana-gen --format json")->type_name("FILE.json");
    CLI::Option* name =
        app.add_option("--template", r.templateName, "The template, as corvana-gen --list names it")
            ->type_name("NAME")
            ->check(CLI::Validator(
                [](const std::string& text) {
                    if (FindTemplate(text) != nullptr)
                        return std::string();
                    std::string names;
                    for (const auto& t : Templates())
                        names += (names.empty() ? "\"" : ", \"") + std::string(t.name) + "\"";
                    return "unknown template '" + text + "'; valid names: " + names;
                },
                ""));
    std::string seedText;
    CLI::Option* seed =
        app.add_option("--seed", seedText, "The seed, 0 to 18446744073709551615 (default: the clock)")
            ->type_name("N")
            ->check(CLI::Validator(
                [](const std::string& text) {
                    return ParseSeed(text) ? std::string()
                                           : "malformed seed '" + text +
                                                 "' (expected a whole number from 0 to "
                                                 "18446744073709551615)";
                },
                ""));
    CLI::Option* reduced = app.add_flag("--reduced", r.reduced, "Reduced Numbers: only the digits 0 to 5");
    CLI::Option* noFirst = app.add_flag("--no-first", r.noFirst, "Don't Show First Number");
    for (CLI::Option* option : {seed, reduced, noFirst})
        option->needs(name);
    file->excludes(name);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        std::ostringstream out;
        std::ostringstream err;
        // 0 for --help; every command line that cannot be used is status 2, as for corvana-gen.
        result.exitStatus = app.exit(e, out, err) == 0 ? 0 : 2;
        result.out = out.str();
        result.err = err.str();
        return result;
    }
    if (seed->count() > 0)
        r.seed = ParseSeed(seedText);
    if (name->count() > 0)
        r.kind = StartRequest::Kind::Template;
    else if (file->count() > 0)
        r.kind = StartRequest::Kind::File;
    return result;
}

} // namespace corvana
