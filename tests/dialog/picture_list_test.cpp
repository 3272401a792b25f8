#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "dialog_fixture.h"

namespace {
const QString kNoFile = QStringLiteral("No file has been selected.");
const QString kNothingToRemove = QStringLiteral("Nothing was selected to remove.");
}  // namespace

class PictureListTest : public DialogTest {
protected:
    dialog::Form2& openWith(const QStringList& pictures) {
        QByteArray text = "[total]\nnewTotal=" + QByteArray::number(pictures.size()) + "\n[images]\n";
        for (int i = 0; i < pictures.size(); ++i) text += QByteArray::number(i) + "=" + pictures[i].toUtf8() + "\n";
        t.folder.writeSettings(text);
        return open();
    }
};

TEST_F(PictureListTest, ThumbnailShrinksByNinetyPercentStepsUntilItFits) {
    auto& f = openWith({});
    struct Case {
        long w, h, wantW, wantH;
    };
    for (const Case& c : {Case{4000, 2000, 3240, 1620}, Case{3375, 1000, 3038, 900}, Case{3374, 1814, 3374, 1814},
                          Case{1000, 1815, 900, 1634}}) {
        f.thumbWidth = c.w;
        f.thumbHeight = c.h;
        f.ShowThumbnail();
        EXPECT_EQ(f.thumbWidth, c.wantW) << c.w << "x" << c.h;
        EXPECT_EQ(f.thumbHeight, c.wantH) << c.w << "x" << c.h;
    }
}

TEST_F(PictureListTest, SelectingAnEntryDrawsItsThumbnailAtTheTopLeft) {
    const QString big = picture("big.png", 600, 150, Qt::blue);  // 9000 x 2250 twips
    auto& f = openWith({big});
    EXPECT_EQ(f.thumbWidth, 3138);
    EXPECT_EQ(f.thumbHeight, 784);
    const QImage& shown = f.thumbnail->box().Image();
    EXPECT_EQ(QColor(shown.pixel(2, 2)), QColor(Qt::blue));
    EXPECT_EQ(QColor(shown.pixel(int(f.thumbWidth / 15) + 2, 2)),
              platform::FromWindowsColor(platform::SystemColorValue(platform::kButtonFace)));
}

TEST_F(PictureListTest, RemovingReselectsTheEntryBefore) {
    QStringList five;
    for (int i = 0; i < 5; ++i) five << picture(QStringLiteral("p%1.png").arg(i));
    auto& f = openWith(five);
    f.pictureList->setCurrentRow(2);
    f.remove_Click();
    EXPECT_EQ(listEntries(), QStringList({five[0], five[1], five[3], five[4]}));
    EXPECT_EQ(f.pictureList->currentRow(), 1);
    EXPECT_EQ(f.pictureCount->text(), "4");

    f.pictureList->setCurrentRow(0);
    f.remove_Click();
    EXPECT_EQ(f.pictureList->currentRow(), 0);
    EXPECT_EQ(f.pictureList->currentItem()->text(), five[1]);
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST_F(PictureListTest, RemovingTheOnlyEntryOrNothing) {
    auto& f = openWith({picture("only.png")});
    f.remove_Click();
    EXPECT_EQ(f.pictureList->count(), 0);
    EXPECT_EQ(f.pictureList->currentRow(), -1);
    EXPECT_EQ(f.pictureCount->text(), "0");
    f.remove_Click();
    EXPECT_EQ(t.messages.texts(), QStringList{kNothingToRemove});

    auto& g = openWith({picture("a.png"), picture("b.png")});
    g.pictureList->setCurrentRow(-1);
    t.messages.shown.clear();
    g.remove_Click();
    EXPECT_EQ(t.messages.texts(), QStringList{kNothingToRemove});
    EXPECT_EQ(g.pictureList->count(), 2);
}

TEST_F(PictureListTest, RemoveAllAsksFirst) {
    auto& f = openWith({picture("a.png"), picture("b.png")});
    t.messages.answer = platform::kNo;
    f.RemoveAll_Click();
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "Do you really want to remove all loaded images?");
    EXPECT_EQ(t.messages.shown[0].style, 52);
    EXPECT_EQ(f.pictureList->count(), 2);
    t.messages.answer = platform::kYes;
    f.RemoveAll_Click();
    EXPECT_EQ(f.pictureList->count(), 0);
    EXPECT_EQ(f.pictureCount->text(), "0");
}

TEST_F(PictureListTest, AddAsksForAnExistingPictureAndSelectsIt) {
    auto& f = openWith({picture("a.png")});
    const QString b = picture("b.bmp", 20, 10);
    dialogs.fileAnswers.push_back(b);
    dialogs.fileAnswers.push_back(b);
    f.add_Click();
    f.add_Click();  // the same file again is not listed twice
    ASSERT_EQ(dialogs.openRequests.size(), 2u);
    const platform::OpenFileRequest& r = dialogs.openRequests[0];
    EXPECT_EQ(r.title, "Select a file to open");
    EXPECT_EQ(r.filters.size(), 12);
    EXPECT_EQ(r.filterIndex, 0);
    EXPECT_TRUE(r.filters[0].startsWith("Image files (")) << r.filters[0].toStdString();
    for (const char* pattern : {"*.gif", "*.jpg", "*.bmp", "*.png", "*.JPG", "*.webp", "*.tif", "*.heic", "*.avif"})
        EXPECT_TRUE(r.filters[0].contains(pattern)) << pattern;
    EXPECT_EQ(r.filters.last(), "All files (*)");
    EXPECT_TRUE(r.filters[5].startsWith("Windows DIB files (*.dib"));
    EXPECT_EQ(listEntries(), QStringList({t.folder.file("a.png"), b}));
    EXPECT_EQ(f.pictureList->currentRow(), 1);
    EXPECT_EQ(f.pictureCount->text(), "2");
    f.waitForThumbnail();
    EXPECT_EQ(f.photoWidth, 20 * 15);
    EXPECT_TRUE(t.messages.shown.empty());

    f.add_Click();  // cancelled: the queue is empty
    EXPECT_EQ(t.messages.texts(), QStringList{kNoFile});
    EXPECT_EQ(f.pictureList->count(), 2);
}

TEST_F(PictureListTest, AFileThatIsNotAPictureIsNotAdded) {
    auto& f = openWith({picture("a.png")});
    const QString text = t.folder.file(QStringLiteral("readme.jpg"));
    QFile file(text);
    file.open(QIODevice::WriteOnly);
    file.write("hello");
    file.close();
    dialogs.fileAnswers.push_back(text);
    f.add_Click();
    ASSERT_EQ(t.messages.texts(), QStringList{"0 pictures added; 1 file skipped"});
    EXPECT_EQ(t.messages.shown[0].details, text + " is not a picture Glidorama can show. (it is a text file)");
    EXPECT_EQ(listEntries(), QStringList{t.folder.file("a.png")});
    EXPECT_EQ(f.pictureCount->text(), "1");
    // So the commit that follows goes through.
    if (!converterWorks()) GTEST_SKIP() << "the image cache cannot convert a plain picture in this build";
    f.OK_Click();
    EXPECT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(stored("total", "newTotal"), "1");
}

TEST_F(PictureListTest, AMissingEntryWarnsAndKeepsThePreviousThumbnail) {
    const QString a = picture("a.png", 30, 30, Qt::green);
    auto& f = openWith({a, t.folder.file(QStringLiteral("gone.png"))});
    f.pictureList->setCurrentRow(1);
    f.waitForThumbnail();
    EXPECT_EQ(t.messages.texts(), QStringList{t.folder.file("gone.png") + " is not a picture Glidorama can show." +
                                              " (the file does not exist)\r\nYou need to reload a new one."});
    EXPECT_EQ(f.pictureList->count(), 2);
    EXPECT_EQ(f.thumbWidth, 30 * 15);
    EXPECT_EQ(QColor(f.thumbnail->box().Image().pixel(5, 5)), QColor(Qt::green));
}

TEST_F(PictureListTest, RowsShowTheFileNameAndAThumbnailWithTheFullPathAsTooltip) {
    const QString a = picture("a.png", 80, 60, Qt::blue);
    const QString gone = t.folder.file(QStringLiteral("gone.png"));
    auto& f = openWith({gone, a});
    dialog::PictureList& list = *f.pictureList;
    const QStyledItemDelegate* rows = qobject_cast<QStyledItemDelegate*>(list.itemDelegate());
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->displayText(list.item(0)->text(), QLocale()), "gone.png");
    EXPECT_EQ(rows->displayText(list.item(1)->text(), QLocale()), "a.png");

    const QRect second = list.visualItemRect(list.item(1));
    QHelpEvent help(QEvent::ToolTip, second.center(), list.viewport()->mapToGlobal(second.center()));
    QApplication::sendEvent(list.viewport(), &help);
    EXPECT_EQ(QToolTip::text(), a);

    // Drawing the rows asks for their thumbnails, which come once decoded.
    list.grab();
    list.waitForThumbnails();
    const QImage shown = list.grab().toImage();
    int blue = 0;
    for (int y = second.top(); y <= second.bottom(); ++y)
        for (int x = second.left(); x < second.left() + list.iconSize().width() + 8; ++x)
            blue += QColor(shown.pixel(x, y)) == QColor(Qt::blue);
    EXPECT_GT(blue, list.iconSize().width() * list.iconSize().height() / 2);
    EXPECT_TRUE(list.thumbnailOf(gone).isNull());
}
