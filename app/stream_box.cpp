#include "app/stream_box.h"

#include <QStyle>
#include <QStyleOptionButton>

#include "app/plain_tip.h"

namespace tessaly::app {

void StreamBox::showCaption(const QString& caption, const QString& facts, const QString& hint) {
  caption_ = caption;
  facts_ = facts;
  hint_ = hint;
  const QString shown = QString(caption).replace('&', "&&");
  if (text() != shown) setText(shown);
  showTip();
}

QSize StreamBox::sizeHint() const {
  return {textInset() + textWidth(), QCheckBox::sizeHint().height()};
}

// The style's room for the text at some width, against that width.
int StreamBox::textInset() const {
  constexpr int kSomeWidth = 1000;
  QStyleOptionButton option;
  option.initFrom(this);
  option.rect.setWidth(kSomeWidth);
  return kSomeWidth - style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this).width();
}

int StreamBox::textWidth() const {
  return fontMetrics().horizontalAdvance(caption_);
}

// The box's width follows its page's layout, which runs after the caption is set.
void StreamBox::resizeEvent(QResizeEvent* event) {
  QCheckBox::resizeEvent(event);
  showTip();
}

void StreamBox::showTip() {
  const bool cut = width() - textInset() < textWidth();
  if (facts_.isEmpty()) {
    setToolTip(plainTip(cut ? caption_ : hint_));
  } else {
    setToolTip(plainTip((cut ? caption_ + "\n" : QString()) + facts_));
  }
}

}  // namespace tessaly::app
