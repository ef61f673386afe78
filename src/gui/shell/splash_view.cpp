#include "gui/shell/splash_view.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/shell/app_texts.h"
#include "gui/shell/logo_widget.h"

namespace rivulet {

frmStartView::frmStartView(const StartupValues& startup, QWidget* parent) : QDialog(parent) {
  setObjectName("frmStart");
  setWindowTitle(QString::fromStdString(MainCaption(startup.version)));

  auto* header = new QFrame;
  header->setObjectName("Shape1");
  header->setFrameShape(QFrame::Box);
  auto* headerLayout = new QHBoxLayout(header);
  headerLayout->addWidget(new LogoWidget);
  auto* names = new QVBoxLayout;
  auto* company = new QLabel(kMakerName);
  company->setObjectName("lblCompany1");
  QFont companyFont = company->font();
  companyFont.setPointSizeF(13.5);
  company->setFont(companyFont);
  auto* project = new QLabel(kProductName);
  project->setObjectName("lblProject");
  QFont projectFont("Arial");
  projectFont.setPointSizeF(20.25);
  projectFont.setBold(true);
  project->setFont(projectFont);
  auto* descriptor = new QLabel(kDescriptor);
  descriptor->setObjectName("lblDescriptor");
  for (QLabel* l : {company, project, descriptor}) {
    l->setAlignment(Qt::AlignCenter);
    names->addWidget(l);
  }
  headerLayout->addLayout(names, 1);

  auto* disclaimerFrame = new QGroupBox("Disclaimer:");
  disclaimerFrame->setObjectName("fraDisclaimer");
  auto* disclaimer = new QPlainTextEdit(QString::fromStdString(DisclaimerText()));
  disclaimer->setObjectName("txtDisclaimer");
  disclaimer->setReadOnly(true);
  disclaimer->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  disclaimer->setMinimumHeight(disclaimer->fontMetrics().lineSpacing() * 7);
  (new QVBoxLayout(disclaimerFrame))->addWidget(disclaimer);

  ok_ = new QPushButton("&OK");
  ok_->setObjectName("cmdOK");
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(header);
  layout->addWidget(disclaimerFrame, 1);
  layout->addLayout(buttons);
  resize(sizeHint().expandedTo(QSize(480, 340)));
  ok_->setFocus();
}

}  // namespace rivulet
