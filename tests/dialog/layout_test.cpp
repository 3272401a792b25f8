// The dialog's controls and their arrangement: every caption readable and
// uncut at any screen scale, for every effect, down to the dialog's least
// size, and the picture list taking the room when the dialog grows.
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLayout>
#include <QProcess>
#include <QScrollBar>
#include <QStatusBar>

#include "dialog_fixture.h"
#include "display/effect_table.h"

namespace {

// The controls the dialog arranges itself: those in the dialog, its frames
// and its status bar, not the parts inside a list or a combo box.
QList<QWidget*> ArrangedControls(QDialog& dialog) {
    QList<QWidget*> controls;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        QWidget* parent = w->parentWidget();
        const bool arranged =
            parent == &dialog || qobject_cast<QGroupBox*>(parent) || qobject_cast<QStatusBar*>(parent);
        if (arranged && w->isVisibleTo(&dialog)) controls << w;
    }
    return controls;
}

QString ShownText(const QWidget* w) {
    QString text;
    if (auto* l = qobject_cast<const QLabel*>(w)) text = l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) text = b->text();
    return text.remove(u'&');
}

// One line per control whose text does not fit it, that is smaller than it
// needs, that overlaps a neighbour, or that reaches past the dialog's edge.
QStringList CutControls(QDialog& dialog) {
    QStringList faults;
    const QList<QWidget*> controls = ArrangedControls(dialog);
    for (QWidget* w : controls) {
        const QString name = QStringLiteral("%1 \"%2\"").arg(w->metaObject()->className(), ShownText(w));
        const QRect box = w->contentsRect();
        const auto* label = qobject_cast<const QLabel*>(w);
        if (label && label->wordWrap()) {
            if (label->heightForWidth(box.width()) > box.height()) faults << name + " wraps past its height";
        } else if (!ShownText(w).isEmpty() && w->fontMetrics().horizontalAdvance(ShownText(w)) > box.width()) {
            faults << name + " is wider than its box";
        }
        const QSize needed = qobject_cast<QComboBox*>(w) ? w->sizeHint() : w->minimumSizeHint();
        if (w->width() < needed.width() || w->height() < needed.height())
            faults << QStringLiteral("%1 is %2x%3, needs %4x%5")
                          .arg(name)
                          .arg(w->width())
                          .arg(w->height())
                          .arg(needed.width())
                          .arg(needed.height());
        const QRect inDialog(w->mapTo(&dialog, QPoint(0, 0)), w->size());
        if (!dialog.rect().contains(inDialog)) faults << name + " reaches past the dialog's edge";
        for (QWidget* other : controls)
            if (other != w && other->parentWidget() == w->parentWidget() && other < w &&
                other->geometry().intersects(w->geometry()))
                faults << name + " overlaps " + other->metaObject()->className() + " \"" + ShownText(other) + "\"";
    }
    return faults;
}

void Arrange(QDialog& dialog, QSize size) {
    dialog.resize(size);
    dialog.layout()->activate();
    QApplication::processEvents();
}

}  // namespace

TEST_F(DialogTest, NothingIsCutForAnyEffectEvenAtTheLeastSize) {
    auto& f = open();
    // Run again by the next test at other screen scales.
    if (const QByteArray scale = qgetenv("GLIDORAMA_TEST_SCALE"); !scale.isEmpty())
        EXPECT_DOUBLE_EQ(f.devicePixelRatioF(), scale.toDouble());
    else  // on a plain screen about the size it always had
        EXPECT_LE(std::abs(f.width() - 588) + std::abs(f.height() - 429), 80) << f.width() << "x" << f.height();
    EXPECT_LT(f.minimumWidth(), f.maximumWidth());
    const QSize opened = f.size();
    for (int effect = 0; effect < f.EffectCbx->count(); ++effect) {
        f.EffectCbx->setCurrentIndex(effect);
        for (const QSize size : {opened, f.minimumSizeHint()}) {
            Arrange(f, size);
            EXPECT_EQ(CutControls(f), QStringList())
                << f.EffectCbx->currentText().toStdString() << " at " << f.width() << "x" << f.height();
        }
    }
}

TEST_F(DialogTest, NothingIsCutAtScreenScalesOfOneAndAHalfAndTwo) {
    if (!qEnvironmentVariableIsEmpty("GLIDORAMA_TEST_SCALE")) GTEST_SKIP() << "already at a scale";
    for (const char* scale : {"1.5", "2"}) {
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QLatin1String(scale));
        env.insert(QStringLiteral("GLIDORAMA_TEST_SCALE"), QLatin1String(scale));
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--gtest_filter=DialogTest.NothingIsCutForAnyEffectEvenAtTheLeastSize")});
        ASSERT_TRUE(run.waitForFinished(120000)) << scale;
        const QString output = QString::fromLocal8Bit(run.readAll());
        EXPECT_EQ(run.exitCode(), 0) << "at scale " << scale << ":\n" << output.toStdString();
        EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test."))) << output.toStdString();
    }
}

TEST_F(DialogTest, AGrowingDialogGivesItsRoomToThePictureList) {
    auto& f = open();
    const QSize list = f.pictureList->size();
    const QSize ok = f.Ok->size();
    Arrange(f, f.size() + QSize(200, 150));
    EXPECT_EQ(f.pictureList->size(), list + QSize(200, 150));
    EXPECT_EQ(f.Ok->size(), ok);
}

TEST_F(DialogTest, DialogHasItsCaptionListsAndFonts) {
    auto& f = open();
    EXPECT_EQ(f.windowTitle(), " Glidorama ");
    EXPECT_EQ(f.pictureList->parentWidget(), f.photoDisplay);
    EXPECT_EQ(f.SS_Confirm->parentWidget(), f.Password);
    EXPECT_EQ(f.Password->title(), "Password Protection / Message Board");
    EXPECT_EQ(f.ClonesText->toolTip(), "Clones of Image");
    EXPECT_EQ(f.ClonesText->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(f.ClonesText->font().pointSizeF(), 9.75);
    // The list reads in the dialog's own font.
    EXPECT_EQ(f.pictureList->font(), f.font());
    QStringList effects, transitions, sizes;
    for (int i = 0; i < f.EffectCbx->count(); ++i) effects << f.EffectCbx->itemText(i);
    for (int i = 0; i < f.TransitionsCbx->count(); ++i) transitions << f.TransitionsCbx->itemText(i);
    for (int i = 0; i < f.PictureSizeCbx->count(); ++i) sizes << f.PictureSizeCbx->itemText(i);
    // The stored numbers keep their captions; effects added later follow.
    EXPECT_EQ(effects.mid(0, 8), QStringList({"Glidorama", "Float", "Warp", "Psychedelic", "Deck of Cards",
                                              "Jumping Beans", "Vortex", "Splat!"}));
    EXPECT_EQ(effects.size(), qsizetype(display::Effects().size()));
    EXPECT_EQ(transitions, QStringList({"Standard", "Left wipe", "Right wipe", "Right & Left wipe", "Up & down wipe",
                                        "Center wipe", "Horizontal blinds", "Vertical blinds"}));
    EXPECT_EQ(sizes, QStringList({"Automatic", "100 %", "150 %", "200 %"}));
    EXPECT_EQ(f.statusPanels[1]->text(), "Glidorama " GLIDORAMA_VERSION);
    EXPECT_EQ(f.statusPanels[2]->text(), "12:00 PM");  // the test clock stands at noon
    EXPECT_FALSE(f.ProgressBar1->isVisible());
}

TEST_F(DialogTest, TabWalksTheControlsInTabOrderFromCancel) {
    auto& f = open();
    f.activateWindow();
    for (int i = 0; i < 50 && QApplication::activeWindow() != &f; ++i) QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &f);
    EXPECT_EQ(QApplication::focusWidget(), f.Cancel);
    QWidget* expected[] = {f.Ok, f.pictureCount, f.pictureList, f.add, f.addFolder, f.remove, f.RemoveAll};
    for (QWidget* next : expected) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
    }
}

TEST_F(DialogTest, ReturnOutsideAButtonCommitsNothing) {
    auto& f = open();
    f.SS_password->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(f.SS_password, &enter);
    EXPECT_FALSE(f.isHidden());
    EXPECT_TRUE(t.folder.readSettings().isEmpty());
}
