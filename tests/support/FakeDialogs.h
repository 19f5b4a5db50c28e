#pragma once

#include "seam/Dialogs.h"

#include <deque>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace corvana::test {

// The scripted stand-in for the platform dialogs: records every message and answers from a
// script (OK, or the next scripted answer), so no test ever waits on a modal window.
class FakeDialogs : public Dialogs {
public:
    struct Message {
        std::string text, title;
        Buttons buttons;
        Icon icon;
        // Whole messages compare at once, so a test states every part of what the user sees.
        bool operator==(const Message& o) const {
            return text == o.text && title == o.title && buttons == o.buttons && icon == o.icon;
        }
        friend std::ostream& operator<<(std::ostream& out, const Message& m) {
            return out << '"' << m.text << "\" \"" << m.title << "\" buttons " << static_cast<int>(m.buttons)
                       << " icon " << static_cast<int>(m.icon);
        }
    };

    Answer MessageBox(const std::string& text, const std::string& title, Buttons buttons,
                      Icon icon) override {
        messages.push_back({text, title, buttons, icon});
        return Next(answers, buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel);
    }

    ColorValue PickColor(ColorValue initial) override {
        colorRequests.push_back(initial); // the picker's answer: the next scripted colour, or a cancel
        return Next(colors, initial);
    }

    void SetBusy(bool busy) override { busyCalls.push_back(busy); }

    // Answers with the next scripted path, or cancels.
    std::string ChooseSaveFile(const std::string& title, const std::string& suggested) override {
        saveRequests.push_back(title + "|" + suggested);
        return Next(savePaths, std::string());
    }

    std::vector<Message> messages;
    std::deque<Answer> answers;
    std::deque<ColorValue> colors;
    std::vector<ColorValue> colorRequests;
    std::vector<bool> busyCalls;
    std::deque<std::string> savePaths;
    std::vector<std::string> saveRequests;

private:
    // The next scripted answer, or `otherwise` once the script has run out.
    template <typename T> static T Next(std::deque<T>& script, T otherwise) {
        if (script.empty())
            return otherwise;
        T next = std::move(script.front());
        script.pop_front();
        return next;
    }
};
using Message = FakeDialogs::Message;

} // namespace corvana::test
