// The program's own pictures: every toolbar button shows one of them on a
// machine without any icon theme, sharp at 16, 24 and 32 pixels (each size
// drawn from its own grid, not scaled from another), no two buttons alike,
// and each standing out on a light and on a dark toolbar.
#include "shell/frmZelvaBillingSystem.h"
#include "shell/icons.h"
#include "support/formdriver.h"

#include <QAction>
#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QToolBar>
#include <QtTest>

using namespace zelva;

namespace {

QImage drawing(int grid, const QString& picture, int size)
{
    QImageReader reader(QStringLiteral(":/icons/%1/%2.svg").arg(grid).arg(picture));
    reader.setScaledSize(QSize(size, size));
    return reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage shown(const QIcon& icon, int size)
{
    return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The share of the picture's area that differs clearly from the background
// it is shown on.
double visibleShare(const QImage& picture, QColor background)
{
    QImage onBackground(picture.size(), QImage::Format_ARGB32_Premultiplied);
    onBackground.fill(background);
    QPainter(&onBackground).drawImage(0, 0, picture);
    int visible = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (std::abs(qGray(onBackground.pixel(x, y)) - qGray(background.rgb())) > 60)
                ++visible;
    return double(visible) / (picture.width() * picture.height());
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<testing::TempData> m_data;
    std::unique_ptr<frmZelvaBillingSystem> m_window;
    QList<QAction*> m_buttons;

private slots:
    void initTestCase()
    {
        // A desktop with no icon theme at all.
        QIcon::setThemeSearchPaths({});
        QIcon::setFallbackSearchPaths({});
        QIcon::setThemeName(QString());
        m_data = std::make_unique<testing::TempData>();
        m_window = std::make_unique<frmZelvaBillingSystem>(*m_data->db);
        for (QAction* button : m_window->Toolbar1->actions())
            if (!button->isSeparator())
                m_buttons << button;
        QCOMPARE(m_buttons.size(), 16);
    }

    void cleanupTestCase()
    {
        m_window.reset();
        m_data.reset();
    }

    // Each button shows a drawing of its own (no two buttons look the same),
    // each size drawn from its own grid (16 and 32 from the 16-pixel one, 24
    // from the 24-pixel one), never scaled from another size.
    void buttonsShowTheirOwnDrawings()
    {
        const QStringList files = QDir(QStringLiteral(":/icons/24")).entryList();
        QSet<QString> pictures;
        for (QAction* button : m_buttons) {
            QString picture;
            for (const QString& file : files)
                if (shown(button->icon(), 24) == drawing(24, QFileInfo(file).completeBaseName(), 24))
                    picture = QFileInfo(file).completeBaseName();
            QVERIFY2(!picture.isEmpty(), qPrintable(button->objectName()));
            QVERIFY2(shown(button->icon(), 16) == drawing(16, picture, 16), qPrintable(picture));
            QVERIFY2(shown(button->icon(), 32) == drawing(16, picture, 32), qPrintable(picture));
            pictures << picture;
        }
        QCOMPARE(pictures.size(), m_buttons.size());
    }

    // Every drawing, the program's own included, exists on both grids and
    // stands out as clearly on a dark toolbar as on a light one.
    void drawingsReadOnLightAndDark()
    {
        const QStringList small = QDir(QStringLiteral(":/icons/16")).entryList();
        QCOMPARE(QDir(QStringLiteral(":/icons/24")).entryList(), small);
        QVERIFY(small.contains("zelva.svg"));
        for (const QString& file : small) {
            const QString picture = QFileInfo(file).completeBaseName();
            for (const auto& [grid, size] : { std::pair { 16, 16 }, std::pair { 24, 24 } }) {
                const QImage image = drawing(grid, picture, size);
                for (const QColor& background : { QColor(0xef, 0xef, 0xef), QColor(0x2a, 0x2e, 0x32) }) {
                    const double share = visibleShare(image, background);
                    QVERIFY2(share > 0.15,
                        qPrintable(QStringLiteral("%1 at %2 on %3: %4")
                                       .arg(picture)
                                       .arg(size)
                                       .arg(background.name())
                                       .arg(share)));
                }
            }
        }
    }

    void programIcon()
    {
        QCOMPARE(shown(ProgramIcon(), 24), drawing(24, "zelva", 24));
        QCOMPARE(m_window->windowIcon().pixmap(QSize(16, 16)).toImage(), ProgramIcon().pixmap(QSize(16, 16)).toImage());
    }
};

QTEST_MAIN(PicturesTest)
#include "test_pictures.moc"
