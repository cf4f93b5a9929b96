#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace plintex {

/// True when the bytes hold an RTF document: "{\rtf" at the start, after an optional UTF-8
/// byte-order mark and optional whitespace.
bool isRtf(QByteArrayView data);

/// The text of an RTF document, paragraphs separated by '\n'. Never fails: damaged input yields
/// the text read so far. Reading ends where the outermost group closes.
QString readRtfText(QByteArrayView data);

/// An RTF document holding the text (lines separated by '\n') in the given font. Every
/// character survives: readRtfText(writeRtf(text, ...)) == text.
QByteArray writeRtf(QStringView text, const QString &fontFamily, int pointSize);

} // namespace plintex
