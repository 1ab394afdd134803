// The library search window: number or name, one hit per search, stays on top.
#include "catalogue/d_Search.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/u_formstyle.h"
#include "catalogue/u_library.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
QString T(int key, const char* def) {
    return QString::fromStdString(Language().GetText("D_SEARCH", key, def));
}
}  // namespace

TdlgSearch::TdlgSearch(TPartLibrary& library, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_library(library) {
    Stack().Push("TdlgSearch.FormCreate");
    setModal(false);
    lblNr = new QLabel(this);
    lblName = new QLabel(this);
    eNr = new QLineEdit(this);
    eNr->setObjectName(QStringLiteral("eNr"));
    eNr->setMaxLength(6);
    eName = new QLineEdit(this);
    eName->setObjectName(QStringLiteral("eName"));
    btnSearch = new QPushButton(this);
    btnClose = new QPushButton(this);
    btnSearch->setAutoDefault(false);
    btnClose->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(lblNr, 0, 0);
    grid->addWidget(eNr, 0, 1);
    grid->addWidget(lblName, 1, 0);
    grid->addWidget(eName, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnSearch);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    DoLanguage();
    ApplyFormStyle(this);
    resize(320, sizeHint().height());

    // Editing one field makes it the search: the other is cleared and the search starts over.
    connect(eNr, &QLineEdit::textEdited, this, [this] {
        eName->clear();
        m_library.ResetSearch();
    });
    connect(eName, &QLineEdit::textEdited, this, [this] {
        eNr->clear();
        m_library.ResetSearch();
    });
    connect(eNr, &QLineEdit::returnPressed, this, &TdlgSearch::Search);
    connect(eName, &QLineEdit::returnPressed, this, &TdlgSearch::Search);
    connect(btnSearch, &QPushButton::clicked, this, &TdlgSearch::Search);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::hide);
}

void TdlgSearch::DoLanguage() {
    setWindowTitle(T(1, "Suchen"));
    lblNr->setText(T(2, "Nummer:"));
    lblName->setText(T(3, "Bezeichnung:"));
    btnSearch->setText(T(4, "Suchen"));
    btnClose->setText(T(5, "Schließen"));
}

void TdlgSearch::ShowSearch() {
    show();
    raise();
    activateWindow();
    eNr->setFocus();
}

void TdlgSearch::Search() {
    Stack().Push("TdlgSearch.btnSearchClick");
    m_library.SearchBib(eNr->text().toStdString(), eName->text().toStdString());
}

}  // namespace kx
