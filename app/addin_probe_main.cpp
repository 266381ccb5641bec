// orvex-addin-probe name|topics LIBRARY.so: calls an add-in library on the
// program's behalf, so that a faulty library ends this process only.
#include <QCoreApplication>

#include "app/addin_library.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  return RunAddinProbe(QCoreApplication::arguments().mid(1));
}
