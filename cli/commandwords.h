#ifndef COMMANDWORDS_H
#define COMMANDWORDS_H

#include "lensmotor.h"

#include <QString>
#include <QStringList>

#include <optional>

// The words of one command, command name first, read for one board. Each
// reader returns nothing, or false, when the word does not fit, and leaves
// *error saying why.
class CommandWords
{
public:
    CommandWords(BoardType board, const QStringList &words, QString *error);

    // Whether exactly count words follow the command name; what names them
    // for the error.
    bool hasArguments(int count, const char *what);
    // How many words follow the command name.
    int argumentCount() const { return int(m_words.size()) - 1; }
    const QString &word(int index) const { return m_words.at(index); }
    BoardType board() const { return m_board; }
    // The motor named at index, if the board has it.
    const LensMotor *motor(int index);
    std::optional<int> number(int index, int minimum, int maximum, const char *what);
    // Where the word at index stands in choices.
    std::optional<int> choice(int index, const QStringList &choices);
    // Sets the error; always false.
    bool fail(const QString &error);

private:
    BoardType m_board;
    const QStringList &m_words;
    QString *m_error;
};

#endif // COMMANDWORDS_H
