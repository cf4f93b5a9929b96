#pragma once

#include "core/rowpass.h"

namespace plintex::cleanup {

/// "Delete HTML tags." as one pass over the rows: every stretch from a "<" to the first ">"
/// after it goes, line breaks inside it included. A ">" met before the next "<", or a "<" with
/// no ">" anywhere after it, ends the removal: the rest of the text stays as it is. Each
/// character is looked at once; only the rows of a tag still open are held.
class TagRemoval final : public RowPass {
public:
    bool row(qint64 index, PassRow &row, PassOutput &out) override;
    void finish(PassOutput &out, RunResult &result) override;

private:
    enum class State { Scanning, InTag, Done };
    State m_state = State::Scanning;
    QString m_kept;        ///< the start of an output row whose tag goes on in a later row
    QStringList m_tagRows; ///< the open tag so far: its row from "<" on, then whole rows
};

} // namespace plintex::cleanup
