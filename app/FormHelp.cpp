#include "app/FormHelp.h"

#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "media/MediaStore.h"

FormHelp::FormHelp(const MediaStore& store, QWidget* parent)
    : QDialog(parent), txtHelp(new QTextBrowser(this)), cmdOK(new QPushButton(QStringLiteral("知道啦"), this)),
      store_(store) {
    setWindowTitle(QStringLiteral("帮助"));
    setAccessibleName(QStringLiteral("帮助"));
    txtHelp->setAccessibleName(QStringLiteral("帮助内容"));
    txtHelp->setOpenExternalLinks(false);
    cmdOK->setAccessibleName(cmdOK->text());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtHelp);
    layout->addWidget(cmdOK, 0, Qt::AlignRight);
    resize(560, 460);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

void FormHelp::Load_Help() {
    LoadHelpFile(QStringLiteral("help.txt"));
}

void FormHelp::Load_PPKHelp() {
    LoadHelpFile(QStringLiteral("ppkhelp.txt"));
}

// A help file may hold HTML or plain text; a missing one says so instead of
// leaving the box empty.
void FormHelp::LoadHelpFile(const QString& fileName) {
    QFile file(store_.AppPicsPath(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        txtHelp->setPlainText(QStringLiteral("没有找到帮助文件“%1”。请重新安装本软件。").arg(fileName));
        return;
    }
    const QString text = QString::fromUtf8(file.readAll());
    if (Qt::mightBeRichText(text))
        txtHelp->setHtml(text);
    else
        txtHelp->setPlainText(text);
}
