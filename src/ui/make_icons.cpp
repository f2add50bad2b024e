// Writes the application icon in every hicolor size, for installation:
//   animark-make-icons DIR  ->  DIR/hicolor/NxN/apps/animark.png

#include <QDir>
#include <QString>
#include <cstdio>

#include "ui/app_icon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  for (const int size : animark::ui::kIconSizes) {
    const QString folder = QString("%1/hicolor/%2x%2/apps").arg(argv[1]).arg(size);
    if (!QDir().mkpath(folder) ||
        !animark::ui::DrawAppIcon(size).save(folder + "/animark.png", "PNG")) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(folder));
      return 1;
    }
  }
  return 0;
}
