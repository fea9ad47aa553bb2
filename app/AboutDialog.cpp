#include "app/AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *product = new QLabel(QStringLiteral("Orvantis"), this);
    product->setObjectName(QStringLiteral("lblProduct"));
    QFont big = product->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    product->setFont(big);
    product->setAlignment(Qt::AlignCenter);
    auto *version = new QLabel(QStringLiteral("Version 1.51"), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAlignment(Qt::AlignCenter);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
