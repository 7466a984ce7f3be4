// Writes the application icon at the usual hicolor sizes, scaled without
// smoothing so the pixel art stays crisp:
//   iconexport ICON.ico OUTDIR NAME SIZE...   -> OUTDIR/SIZExSIZE/NAME.png

#include <QCoreApplication>
#include <QDir>
#include <QImage>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: iconexport ICON OUTDIR NAME SIZE...\n");
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull()) {
        std::fprintf(stderr, "iconexport: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 4; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString folder =
            QStringLiteral("%1/%2x%2").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        QDir().mkpath(folder);
        const QImage scaled =
            icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!scaled.save(folder + QLatin1Char('/') + QString::fromLocal8Bit(argv[3]) +
                         QStringLiteral(".png"))) {
            std::fprintf(stderr, "iconexport: cannot write size %d\n", size);
            return 1;
        }
    }
    return 0;
}
