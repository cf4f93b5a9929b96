#include "settings/settingsnotice.h"

#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;

namespace plintex::settings {
namespace {

struct Notices {
    NoticeSink sink;
    bool writeFailureTold = false;
    QSet<QString> refusalsTold;
};

Notices &notices()
{
    static Notices n;
    return n;
}

} // namespace

void setNoticeSink(NoticeSink sink)
{
    notices() = Notices{std::move(sink), false, {}};
}

void reportWriteFailure(const QString &path, const QString &reason)
{
    Notices &n = notices();
    // One box per session is enough: every later save would fail for the same reason.
    if (!n.sink || n.writeFailureTold)
        return;
    n.writeFailureTold = true;
    n.sink(u"Settings cannot be saved in "_s + QFileInfo(path).absolutePath() + u"\r"_s + reason +
           u"\rThe program keeps working; changes of settings are not stored."_s);
}

void reportRefusal(const QString &text)
{
    Notices &n = notices();
    if (!n.sink || n.refusalsTold.contains(text))
        return;
    n.refusalsTold.insert(text);
    n.sink(text);
}

} // namespace plintex::settings
