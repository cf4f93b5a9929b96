#pragma once

#include "core/panel.h"
#include "core/roworder.h"
#include "core/rowpass.h"
#include "core/run.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <utility>

namespace plintex {

/// The four entries of the caret-to-parameter menu.
enum class MenuEntry { BeginColumn, EndColumn, BeginRow, EndRow };
enum class CaretSource { Column, Row };

struct CaretMenuItem {
    MenuEntry entry = {};
    QString caption = {}; ///< empty: the entry's default caption
    bool greyed = false;
};

/// Which menu entries a function shows, and whether the third starts a second column.
struct CaretMenuLayout {
    QList<CaretMenuItem> items = {};
    bool columnBreak = false;
};

/// A parameter that a menu entry fills from the caret, besides the restraint rows that the
/// row entries always fill.
struct CaretMenuTarget {
    MenuEntry entry = {};
    QString param = {};
    CaretSource source = {};
};

/// The examples panel's demonstration of a function, and how to run it: the parameters that
/// differ from their defaults and the run button. Where the panel's texts only illustrate (a
/// heading line, a trailing blank), `input` and `expected` hold what the run really takes and
/// gives; a function whose result shows outside the text expects its report.
struct FunctionExample {
    QString title = {};
    QString before = {};
    QString after = {};
    QList<std::pair<QString, QString>> params = {};
    QString runButton = QStringLiteral("run");
    std::optional<QString> input = {};
    std::optional<QString> expected = {};
    TextPosition caret = {}; ///< where the caret stands, for a function that reads it
};

using ByteTransformFactory = ByteTransform (*)(const ParamValues &params);

/// What each 7-bit character becomes in a run that changes only such characters, one for one
/// (letter case). No byte of any other character is below 128 in UTF-8 or Windows-1252, so a
/// text in either can be rewritten byte by byte, undecoded.
using AsciiMap = std::array<char, 128>;
using AsciiMapFactory = std::optional<AsciiMap> (*)(const QString &runButton,
                                                    const ParamValues &params);

/// A run straight over the bytes of a whole text in UTF-8 or Windows-1252 whose line breaks are
/// all LF, for a function some of whose runs need not decode it: the bytes from `from` on (a
/// byte-order mark before it stays) rewritten in place into those the run leaves, each line
/// still followed by its own LF (a last line without one is ended by the caller). False, the
/// bytes untouched, when this run needs the characters after all, the run routine then doing
/// it: a refusal, or a search that the bytes cannot answer.
using ByteRunRoutine = bool (*)(QByteArray &bytes, qsizetype from, RowEncoding encoding,
                                const ParamValues &params);

/// Everything a function brings of its own, from its file in the ops layer. A function not
/// built yet has an empty body.
struct FunctionBody {
    QString description = {}; ///< one sentence: what it does (command-line help, help file)
    QList<PanelItem> panel = {};
    /// The run routine. A function that declares a row pass or a line transform gets its
    /// routine from it.
    RunRoutine run = nullptr;
    /// Set for functions that run as one pass over the rows, first to last: the command line
    /// then streams a text of any size through it.
    RowPassFactory rowPass = nullptr;
    /// Set for functions that only rewrite each line of the band on its own, from the line and
    /// the parameters: their row pass follows from it.
    LineTransformFactory lineTransform = nullptr;
    /// Set beside `lineTransform` for functions that can rewrite a row's bytes as it rewrites
    /// the row's characters: the command line then spares the decoding.
    ByteTransformFactory byteTransform = nullptr;
    /// Set for functions that may only reorder the rows (a sort): the command line then moves
    /// each row's bytes as they are.
    RowOrderRoutine rowOrder = nullptr;
    /// Set for functions some of whose runs only map 7-bit characters: the command line then
    /// rewrites a file's bytes directly, as its row pass would.
    AsciiMapFactory asciiMap = nullptr;
    /// Set for functions some of whose runs over a whole text can keep to its bytes: the
    /// command line then spares the decoding.
    ByteRunRoutine byteRun = nullptr;
    QList<CaretMenuTarget> menuTargets = {};
    FunctionExample example = {};
    /// False for functions that stream files named in their fields: they read no text.
    bool readsText = true;
    /// True for functions whose run reads the caret (`RunInput::caret`): only they take it on
    /// the command line.
    bool readsCaret = false;
    /// True for functions that keep the row restraint strip hidden yet read its To
    /// (`RunInput::restraint.to`), whatever an earlier run left there.
    bool readsStripTo = false;
    /// True for a function that, in the window, works on a pane of its own holding a copy of
    /// the text while it is selected, after `confirmation` has been answered with OK.
    bool ownPane = false;
    QString confirmation = {};
};

struct DropDownEntry {
    int position = -1;
    QString caption = {};
};

/// One function of the catalogue.
struct FunctionEntry {
    QString name = {};        ///< the UI name, also its drop-down caption
    int number = 0;           ///< the panel number that selects it
    int entry = -1;           ///< its position in the function drop-down
    DropDownEntry alias = {}; ///< a second drop-down entry selecting it, if any
    bool restraint = false;   ///< the select routine shows the row restraint strip
    bool caretMenu = false;   ///< the select routine enables the caret-to-parameter menu
    CaretMenuLayout menu = {};
    FunctionBody body = {};

    bool isBuilt() const { return bool(body.run); }
    QString slug() const;
    QList<DropDownEntry> entries() const;
    QList<Parameter> params() const;
    const Parameter *param(const QString &key) const;
    QList<RunButtonItem> runButtons() const;
    /// The n of each comboN.plx its parameters keep.
    QList<int> histories() const;
};

/// The functions, in the order of the function buttons, and the ways to find one.
class Catalogue {
public:
    explicit Catalogue(QList<FunctionEntry> functions);

    const QList<FunctionEntry> &functions() const { return m_functions; }
    auto begin() const { return m_functions.begin(); }
    auto end() const { return m_functions.end(); }
    qsizetype size() const { return m_functions.size(); }

    const FunctionEntry *byNumber(int number) const;
    const FunctionEntry *atEntry(int position) const;
    /// By drop-down caption (either alias) or by slug.
    const FunctionEntry *byName(QStringView nameOrSlug) const;
    /// The captions of the function drop-down, in order.
    QStringList dropDownCaptions() const;

private:
    QList<FunctionEntry> m_functions = {};
};

/// The 34 functions with their names, numbers, drop-down entries, restraint and caret menu,
/// without bodies: the ops layer binds those.
QList<FunctionEntry> functionTable();

/// Gives a function its body; a body with a line transform and no routine runs the transform.
/// A name that matches no entry, or an entry bound twice, is a fault in the program that must
/// never pass unseen: it ends the program, in every build.
void bindBody(QList<FunctionEntry> &functions, QStringView name, FunctionBody body);
/// As bindBody, but says what is wrong instead of ending the program: empty when bound.
QString tryBindBody(QList<FunctionEntry> &functions, QStringView name, FunctionBody body);

/// Lower case; every run of characters other than a-z and 0-9 becomes one "-", none at the ends.
QString slugOf(QStringView text);

/// A parameter's command-line option: its own name where it has one, else its label's slug.
QString optionOf(const Parameter &param);

/// The caption an entry shows when the function gives none of its own.
QString defaultMenuCaption(MenuEntry entry);

/// What choosing `entry` writes for `function`, with the caret at 1-based `row` and `column`.
QList<FieldWrite> caretMenuWrites(const FunctionEntry &function, MenuEntry entry, qint64 row,
                                  qint64 column);

} // namespace plintex
