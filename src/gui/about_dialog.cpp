#include "gui/about_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app_icon.h"
#include "gui/control_tags.h"
#include "gui/ui_language.h"
#include "version/program_version.h"

namespace pictor::gui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(Translate("AboutDialog", "About Pictor"));

    auto* icon = Name(new QLabel, "aboutIcon");
    icon->setPixmap(AppIcon().pixmap(64, 64));
    auto* version = Name(new QLabel(Translate("AboutDialog", "Version %1")
                                        .arg(QString::fromUtf8(
                                            ProgramVersion().data(),
                                            static_cast<qsizetype>(ProgramVersion().size())))),
                         "versionLabel");
    auto* ok = Tag(new QPushButton(Translate("AboutDialog", "OK")), 1, "okButton");
    ok->setToolTip(Translate("AboutDialog", "Close"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* revision = Name(new QGroupBox(Translate("AboutDialog", "Revision:")), "revisionGroup");
    auto* notes = new QLabel(Translate("AboutDialog",
                                       "Pictor prepares picture resources for colour LCD modules:\n"
                                       "import bitmaps, convert them into Icon.bin and Icon.h,\n"
                                       "and download the image into the module's flash."));
    notes->setWordWrap(true);
    auto* revisionLayout = new QVBoxLayout(revision);
    revisionLayout->addWidget(notes);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(version, 1);
    top->addWidget(ok, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(revision, 1);
}

}  // namespace pictor::gui
