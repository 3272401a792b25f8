// A settings dialog on the offscreen platform, in a temporary program
// folder, with recorded message boxes and file and colour dialogs.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <gtest/gtest.h>

#include <memory>

#include "dialog/form2.h"
#include "dialog/picture_list.h"
#include "dialog/picture_view.h"
#include "dialog/vertical_scroll_bar.h"
#include "imagestore/converter.h"
#include "runtime/colors.h"
#include "support/recorders.h"
#include "settings/profile.h"
#include "support/temp_app_folder.h"

// Readable failure output for texts.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

class DialogTest : public ::testing::Test {
protected:
    DialogTest() { t.folder.makeCacheFolder(); }

    // A fresh dialog, loaded from whatever settings file the folder holds,
    // with the first entry's thumbnail shown.
    dialog::Form2& open() {
        form.reset();
        settings = std::make_unique<settings::Settings>();
        form = std::make_unique<dialog::Form2>(*settings, t.env);
        form->setCommonDialogs(&dialogs);
        form->Form_Load();
        form->show();
        form->waitForThumbnail();
        return *form;
    }

    // A picture file of the given size in the program folder.
    QString picture(const QString& name, int width = 40, int height = 30, QColor color = Qt::red) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        const QString path = t.folder.file(name);
        image.save(path);
        return path;
    }

    QString stored(const char* section, const QString& key) const {
        return platform::ProfileFile(t.folder.file(QStringLiteral("z909ssaver.ini"))).read(QLatin1String(section), key);
    }

    // Whether this build's image cache can convert a plain picture at all;
    // commit tests that need the cache skip (and say so) when it cannot.
    bool converterWorks() {
        const QString probe = picture(QStringLiteral("probe.png"), 4, 4);
        const QString folder = t.folder.path() + QStringLiteral("/probe");
        QDir().mkpath(folder + QStringLiteral("/Glidorama"));
        QFile(probe).copy(folder + QStringLiteral("/probe.png"));
        return imagestore::ConvertPictures({folder + QStringLiteral("/probe.png")}, folder).failedIndex < 0;
    }

    QStringList listEntries() const {
        QStringList out;
        for (int i = 0; i < form->pictureList->count(); ++i) out << form->pictureList->item(i)->text();
        return out;
    }

    testing_support::TestEnvironment t;
    platform::RecordingDialogs dialogs;
    std::unique_ptr<settings::Settings> settings;
    std::unique_ptr<dialog::Form2> form;
};
