#include "ui/Umain.h"

TFrmMain::TFrmMain(QWidget* parent) : QWidget(parent) {}
