// varnel: the operator window. Takes no arguments; works in the working
// directory (Korvel.UDL, .\Korvel.ini, .\Varnel.ini) and runs until the
// window is closed. "Sair" during a run asks first; confirmed, the run is
// aborted and the program ends when it is over. Qt's own texts and the dates
// are Portuguese whatever the machine's locale.
#include <QApplication>
#include <QStyleFactory>

#include "ui/_main.h"
#include "ui/portuguese_texts.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(varnel::kApplicationTitle);
  varnel::InstallPortuguese(application);
  if (QStyle* style = QStyleFactory::create("Fusion")) QApplication::setStyle(style);
  varnel::Tmain window;
  window.show();
  return QApplication::exec();
}
