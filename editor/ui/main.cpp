// Skedlin, the calendar package editor.

#include <QApplication>

#include "editor/ui/CSkedlinApp.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    skedlin::CSkedlinApp skedlin(QApplication::arguments());
    if (!skedlin.initInstance()) return 1;
    return QApplication::exec();
}
