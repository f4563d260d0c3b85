// Qt's translations and the Portuguese locale. Qt's catalogues are looked up
// where the Qt installation keeps them (Debian: qt6-translations-l10n).
#include "ui/portuguese_texts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace varnel {

QLocale PortugueseLocale() { return QLocale(QLocale::Portuguese, QLocale::Portugal); }

bool InstallPortuguese(QApplication& application) {
  QLocale::setDefault(PortugueseLocale());
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  bool installed = false;
  // Installed last is asked first: European Portuguese before Brazilian.
  for (const char* catalogue : {"qtbase_pt_BR", "qtbase_pt_PT", "qt_pt_PT"}) {
    auto* translator = new QTranslator(&application);
    if (translator->load(QString::fromLatin1(catalogue), folder) && QApplication::installTranslator(translator)) {
      installed = true;
    } else {
      delete translator;
    }
  }
  return installed;
}

}  // namespace varnel
