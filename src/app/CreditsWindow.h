#pragma once

// The credits window: title, version, description, legal notice, author and the maker's web
// addresses. No menu and no commands; the user closes it with the title bar.

#include <QDialog>

namespace corvana {

class CreditsWindow : public QDialog {
public:
    explicit CreditsWindow(QWidget* parent = nullptr);
};

} // namespace corvana
