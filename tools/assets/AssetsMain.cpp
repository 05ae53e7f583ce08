// fotakle-assets: draws the program's built-in resources and its asset
// folder by code. Run by the build; needs no display.
//
//   fotakle-assets resources OUTDIR   the resource files embedded in the program
//   fotakle-assets folder OUTDIR      the asset folder placed beside the program
//   fotakle-assets icons OUTDIR       the program icon at each side the desktop uses
//
// Exit status 0 when every file was written, 1 when one could not be, 2 for
// a bad command line.
#include <QByteArray>
#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

#include "AssetTool.h"

int main(int argc, char** argv) {
    const bool resources = argc == 3 && std::strcmp(argv[1], "resources") == 0;
    const bool icons = argc == 3 && std::strcmp(argv[1], "icons") == 0;
    if (argc != 3 || (!resources && !icons && std::strcmp(argv[1], "folder") != 0)) {
        std::fputs("Usage: fotakle-assets resources|folder|icons OUTDIR\n", stderr);
        return 2;
    }
    // Fonts and painting need an application object, never a screen.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);

    const QString folder = QString::fromLocal8Bit(argv[2]);
    if (resources || icons) {
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "fotakle-assets: cannot create %s\n", argv[2]);
            return 1;
        }
        return (resources ? WriteResources(folder) : WriteProgramIcons(folder)) ? 0 : 1;
    }
    return WriteAssetFolder(folder) ? 0 : 1;
}
