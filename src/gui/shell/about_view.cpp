#include "gui/shell/about_view.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/shell/app_texts.h"
#include "gui/shell/logo_widget.h"

namespace rivulet {

QString frmAboutView::ReleaseDateText(const StartupValues& startup) {
  const auto time = ProgramFileTime(startup.programFolder);
  if (!time) return {};
  return QLocale().toString(QDateTime::fromSecsSinceEpoch(*time), QLocale::ShortFormat);
}

QLabel* frmAboutView::Link(const QString& text, const char* name, const char* target) {
  auto* label = new QLabel(text);
  label->setObjectName(name);
  QFont f = label->font();
  f.setBold(true);
  f.setUnderline(true);
  label->setFont(f);
  label->setForegroundRole(QPalette::Highlight);
  label->setCursor(Qt::PointingHandCursor);
  label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  label->setFocusPolicy(Qt::TabFocus);
  // A plain-text label with a link-activated signal keeps our own look and our launcher.
  label->setText(QString("<a href=\"%1\" style=\"color: palette(highlight);\">%2</a>")
                     .arg(QString::fromUtf8(target), text.toHtmlEscaped()));
  connect(label, &QLabel::linkActivated, this,
          [this](const QString& url) { services_.ShellOpen(url.toStdString()); });
  return label;
}

frmAboutView::frmAboutView(const StartupValues& startup, Services& services, QWidget* parent)
    : QDialog(parent), services_(services) {
  setObjectName("frmAbout");
  setWindowTitle(QString::fromStdString(AboutCaption(startup.version)));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
  setPalette(pal);
  setStyleSheet(
      "QLabel#lblTitle, QLabel#lblSubTitle, QLabel#Label1, QLabel#lblVersion, "
      "QLabel#lblRelDate, QLabel[info=\"true\"] { background: rgb(255, 255, 225); }");

  auto* title = new QLabel(kProductName);
  title->setObjectName("lblTitle");
  QFont titleFont("Arial");
  titleFont.setPointSize(24);
  titleFont.setBold(true);
  title->setFont(titleFont);
  auto* subTitle = new QLabel(kDescriptor);
  subTitle->setObjectName("lblSubTitle");
  auto* heading = new QVBoxLayout;
  heading->addWidget(title);
  heading->addWidget(subTitle);
  auto* top = new QHBoxLayout;
  top->addWidget(new LogoWidget);
  top->addLayout(heading, 1);

  // The maker's name reacts to a click but reads as plain text.
  auto* maker = new QLabel(QString("<a href=\"%1\" style=\"color: palette(window-text); "
                                   "text-decoration: none;\">%2</a>")
                               .arg(kMakerHomeUrl, kMakerName));
  maker->setObjectName("Label1");
  connect(maker, &QLabel::linkActivated, this,
          [this](const QString& url) { services_.ShellOpen(url.toStdString()); });

  auto* address = new QLabel(QString(kMakerAddress).replace('\n', "<br>"));
  address->setProperty("info", true);
  address->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* contact = new QGridLayout;
  auto addRow = [contact](int row, const char* caption, QWidget* value) {
    auto* c = new QLabel(caption);
    c->setProperty("info", true);
    contact->addWidget(c, row, 0);
    contact->addWidget(value, row, 1);
  };
  auto* phone = new QLabel(kMakerPhone);
  auto* fax = new QLabel(kMakerFax);
  for (QLabel* l : {phone, fax}) l->setProperty("info", true);
  addRow(0, "Tel:", phone);
  addRow(1, "Fax:", fax);
  addRow(2, "Web:", Link(kMakerWeb, "Label8", kMakerHomeUrl));
  addRow(3, "Email:", Link(kSupportEmail, "Label15", kSupportMailUrl));
  auto* details = new QHBoxLayout;
  details->addWidget(address);
  details->addSpacing(24);
  details->addLayout(contact);
  details->addStretch();

  auto* version = new QLabel(QString::fromStdString(AboutVersionLine(startup.version)));
  version->setObjectName("lblVersion");
  auto* date = new QLabel(ReleaseDateText(startup));
  date->setObjectName("lblRelDate");
  auto* ok = new QPushButton("OK");
  ok->setObjectName("cmdOK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::close);
  auto* bottom = new QHBoxLayout;
  auto* versionBox = new QVBoxLayout;
  versionBox->addWidget(version);
  versionBox->addWidget(date);
  bottom->addLayout(versionBox);
  bottom->addStretch();
  bottom->addWidget(ok, 0, Qt::AlignBottom);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(maker);
  layout->addLayout(details);
  layout->addSpacing(8);
  layout->addLayout(bottom);
  setAttribute(Qt::WA_DeleteOnClose);
}

}  // namespace rivulet
