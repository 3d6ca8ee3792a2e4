#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class DataGrid;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

// Finding a text in a grid: cells are compared as the grid shows them (money as shown, flags as
// 是/否, dates yyyy-MM-dd), never by their stored values.
namespace GridFind {

enum class Scope { CurrentColumn, AllColumns };
enum class Match { AnyPart, WholeField, Beginning };

struct Options
{
    QString text;
    Scope scope = Scope::CurrentColumn;
    Match match = Match::AnyPart;
    Qt::CaseSensitivity caseSensitivity = Qt::CaseInsensitive;
    bool up = false; // towards the first row
};

struct Cell
{
    int row = -1;
    int column = -1;
};

enum class Outcome { Found, NotFound, Cancelled };

bool matches(const QString &shown, const Options &options);

// The next matching cell after `from` in the options' direction, wrapping once past the end
// (so the cell `from` itself is the last one tried). A row of -1 in `from` starts before the
// first row going down and after the last going up; its column is the current column.
// A result set is read in one pass through the engine, never as a whole; `progress` gets the
// rows walked so far now and then and returns false to stop (Outcome::Cancelled).
// Throws DbError.
Outcome next(const DataGrid &grid,
             const Options &options,
             Cell from,
             Cell *found,
             const std::function<bool(int rowsWalked)> &progress = {});

} // namespace GridFind

// The find dialog of a grid (Ctrl+F): modeless, so Enter finds the next match again and again
// while the grid follows; Esc closes it. It lives with its grid and keeps the last text.
class GridFindDialog : public QDialog
{
    Q_OBJECT
public:
    explicit GridFindDialog(DataGrid *grid);

    GridFind::Options options() const;
    // Shows the dialog with its text selected, ready for typing.
    void present();

private:
    void findNext();

    DataGrid *m_grid;
    QLineEdit *m_text;
    QComboBox *m_scope;
    QComboBox *m_match;
    QCheckBox *m_case;
    QRadioButton *m_up;
};
