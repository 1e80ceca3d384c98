#include "app/window_layout.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include "app/logo.h"
#include "app/main_window.h"
#include "app/status_panels.h"

namespace tessaly::app {
namespace {

// A path typed or pasted here is taken when Enter confirms it (Binding::connectPathEdits).
QLineEdit* makePathEdit(QWidget* parent, const char* name, const char* hint) {
  return makeControl<QLineEdit>(parent, name, shortHint(hint));
}

QToolButton* makeGlyphButton(QWidget* parent, const char* name, const char* hint) {
  auto* button = makeControl<QToolButton>(parent, name, hint);
  button->setIcon(parent->style()->standardIcon(QStyle::SP_DirOpenIcon));
  return button;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* text, const char* hint) {
  auto* button = makeControl<QPushButton>(parent, name, hint);
  button->setText(text);
  button->setEnabled(false);
  return button;
}

}  // namespace

void buildFileRows(TfMain& w, AnchorLayout& a) {
  w.eEVOfile =
      makePathEdit(&w, "eEVOfile", "Drop here the source EVO file|You cannot write here directly");
  a.place(w.eEVOfile, {8, 8, 249, 21}, akTopLeft | akRight);
  w.bbEVO = makeGlyphButton(&w, "bbEVO", "Browse an EVO file");
  a.place(w.bbEVO, {263, 6, 25, 25}, akTopRight);
  w.bCheck = makeButton(&w, "bCheck", "Read EVO", "Read the source EVO file to detect streams");
  a.place(w.bCheck, {294, 7, 60, 25}, akTopRight);

  w.eXPLfile = makePathEdit(&w, "eXPLfile", "Drop here the VPLST000.XPL");
  a.place(w.eXPLfile, {8, 40, 249, 21}, akTopLeft | akRight);
  w.bbXPL = makeGlyphButton(&w, "bbXPL", "Browse the HD DVD disc's VPLST000.XPL");
  a.place(w.bbXPL, {263, 38, 25, 25}, akTopRight);
  w.bReadXPL = makeButton(&w, "bReadXPL", "Read XPL", "Read the XPL file to detect stream infos");
  a.place(w.bReadXPL, {294, 38, 60, 25}, akTopRight);
}

void buildBottomRow(TfMain& w, AnchorLayout& a) {
  w.bDemux = makeButton(&w, "bDemux", "Demux", "Demux the source EVO to streams");
  QFont bold = w.bDemux->font();
  bold.setBold(true);
  w.bDemux->setFont(bold);
  a.place(w.bDemux, {8, 294, 60, 25}, akLeft | akBottom);

  const QRect logoPlace{119, 292, 125, 31};
  w.imLogo = makeControl<LogoImage>(&w, "imLogo", "HD DVD logo :-)");
  a.place(w.imLogo, logoPlace, akBottom);

  w.bCancel = makeButton(&w, "bCancel", "Cancel", "You can stop the actual process");
  a.place(w.bCancel, {294, 294, 60, 25}, akRight | akBottom);

  w.StatusBar = new StatusPanels(&w);
  a.place(w.StatusBar, {0, kClientSize.height() - 21, kClientSize.width(), 21},
          akLeft | akRight | akBottom);
}

QFont windowFont() {
  if (QFontDatabase::hasFamily("Tahoma")) return QFont("Tahoma", 8);
  QFont font = QGuiApplication::font();
  font.setPointSize(8);  // the size the designed places are measured for
  return font;
}

QString shortHint(const char* hint) {
  return QString(hint).section('|', 0, 0);
}

}  // namespace tessaly::app
