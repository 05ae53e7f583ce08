// The one QApplication of the test program, made on first use under the
// offscreen platform and kept for the whole run.
#pragma once

#include <QApplication>

QApplication& TestApplication();
