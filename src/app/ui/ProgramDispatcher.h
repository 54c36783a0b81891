#pragma once
// Program number to window: the module menu hands a program number (as the text stored in
// PROGRAMAS.PROGRAMA) to the dispatcher, which opens the window of that number modally and returns
// when it closes. Numbers without a window do nothing.

#include <QString>
#include <functional>
#include <map>

class QWidget;

namespace app {

class ProgramDispatcher {
public:
    using Opener = std::function<void(QWidget* parent)>;
    enum class Result { Opened, Unknown, NotANumber };

    void add(int number, Opener opener) { openers_[number] = std::move(opener); }
    bool has(int number) const { return openers_.count(number) > 0; }

    // A text that is not an integer shows the conversion error and opens nothing.
    Result run(const QString& programText, QWidget* parent) const;

    // The dispatcher with every window the program has.
    static const ProgramDispatcher& standard();

private:
    std::map<int, Opener> openers_;
};

} // namespace app
