// The progress window of rounding every part.
#include "generated/f_RoundFF.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
QString Text(int key, const char* german) {
    return QString::fromStdString(Language().GetText("F_ROUNDFF", key, german));
}
constexpr int kIconSize = 64;
constexpr int kPollMs = 50;
}  // namespace

TFormRoundFF::TFormRoundFF(const TPartFiles& files, TffCache& meshes, QWidget* parent)
    : QDialog(parent), m_files(files), m_job(files, meshes) {
    Stack().Push("TFormRoundFF.FormCreate");
    setObjectName(QStringLiteral("FormRoundFF"));
    setWindowTitle(Text(1, "Bauteile abrunden"));
    imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setFixedSize(kIconSize, kIconSize);
    imgIcon->setAlignment(Qt::AlignCenter);
    lblFile = new QLabel(Text(2, "Bitte warten..."), this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    pbVertices = new QProgressBar(this);
    pbVertices->setObjectName(QStringLiteral("pbVertices"));
    pbFiles = new QProgressBar(this);
    pbFiles->setObjectName(QStringLiteral("pbFiles"));
    for (QProgressBar* bar : {pbVertices, pbFiles}) {
        bar->setRange(0, 1);
        bar->setValue(0);
    }
    btnCancel = new QPushButton(Text(3, "Abbrechen"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* info = new QVBoxLayout;
    info->addWidget(lblFile);
    info->addWidget(pbVertices);
    info->addWidget(pbFiles);
    auto* top = new QHBoxLayout;
    top->addWidget(imgIcon);
    top->addLayout(info, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    resize(420, sizeHint().height());

    m_poll = new QTimer(this);
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, &TFormRoundFF::ShowState);
    connect(btnCancel, &QPushButton::clicked, this, &TFormRoundFF::btnCancelClick);
    ApplyFormStyle(this);
}

TFormRoundFF::~TFormRoundFF() {
    StopWorker();
}

void TFormRoundFF::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        // Once the window stands on the screen: the run starts from the event loop.
        QTimer::singleShot(0, this, &TFormRoundFF::FormPaint);
    }
}

void TFormRoundFF::FormPaint() {
    Stack().Push("TFormRoundFF.FormPaint");
    m_worker = std::thread([this] { m_job.Run(); });
    m_poll->start();
}

void TFormRoundFF::btnCancelClick() {
    Stack().Push("TFormRoundFF.btnCancelClick");
    m_job.Cancel();
    lblFile->setText(Text(4, "Abbrechen..."));
    btnCancel->setEnabled(false);
}

void TFormRoundFF::reject() {
    // Closing the window stops the run like the button; the window goes once the worker has.
    if (m_worker.joinable()) {
        btnCancelClick();
        return;
    }
    QDialog::reject();
}

void TFormRoundFF::ShowState() {
    const TRoundPartsState state = m_job.State();
    pbFiles->setRange(0, static_cast<int>(std::max<size_t>(state.FileCount, 1)));
    pbFiles->setValue(static_cast<int>(state.FileIndex));
    pbVertices->setRange(0, static_cast<int>(std::max<size_t>(state.VertexTotal, 1)));
    pbVertices->setValue(static_cast<int>(std::min(state.VertexDone, state.VertexTotal)));
    if (state.Current != m_shownFile && !state.Current.empty()) {
        m_shownFile = state.Current;
        if (!m_job.Cancelled()) {
            lblFile->setText(QString::fromStdString(m_shownFile));
        }
        // The part's icon where it has one; a missing icon leaves the picture empty.
        const std::string stem = m_shownFile.substr(0, m_shownFile.size() - 4);
        QPixmap icon;
        if (const auto file = m_files.FindPart("icon", stem, "bmp")) {
            icon.load(QString::fromStdString(file->string()));
        }
        imgIcon->setPixmap(icon.isNull() ? QPixmap()
                                         : icon.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio,
                                                       Qt::SmoothTransformation));
    }
    if (state.Finished) {
        m_poll->stop();
        if (m_worker.joinable()) {
            m_worker.join();
        }
        accept();
    }
}

void TFormRoundFF::StopWorker() {
    if (m_poll) {
        m_poll->stop();
    }
    if (m_worker.joinable()) {
        m_job.Cancel();
        m_worker.join();
    }
}

}  // namespace kx

#include "moc_f_RoundFF.cpp"
