// varnel: the operator window. Takes no arguments; works in the working
// directory (Korvel.UDL, .\Korvel.ini, .\Varnel.ini) and runs until the
// window is closed. A run still under way when "Sair" is pressed finishes
// first; the program ends when it is over.
#include <QApplication>
#include <QStyleFactory>

#include "ui/_main.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(varnel::kApplicationTitle);
  if (QStyle* style = QStyleFactory::create("Fusion")) QApplication::setStyle(style);
  varnel::Tmain window;
  window.show();
  return QApplication::exec();
}
