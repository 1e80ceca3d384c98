// Tooltips of text that may come from a disc or a file name: a tooltip that looks like rich
// text (Qt::mightBeRichText) is laid out as HTML by Qt, so a playlist label
// "<img src='/dev/zero'>" would load that file. Such a text is escaped and shown as it
// is, line breaks kept; any other is plain already.
#pragma once

#include <QString>
#include <QTextDocument>

namespace tessaly::app {

inline QString plainTip(const QString& text) {
  return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpacePre) : text;
}

}  // namespace tessaly::app
