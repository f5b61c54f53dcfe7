#include "editor/ui/CPreviewWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

#include "editor/document/CSkedlinDoc.h"
#include "editor/preview/PreviewPackage.h"
#include "editor/preview/PreviewSession.h"
#include "editor/ui/PreviewScreenWidget.h"
#include "editor/ui/PreviewText.h"
#include "viewer/core/skv_core.h"

namespace skedlin {
namespace {

// Changes that come in a burst (an import, an undo of many steps) make one build.
constexpr int kChangeDelayMs = 40;
constexpr int kScreenPage = 0;
constexpr int kFailurePage = 1;

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

CPreviewWindow::CPreviewWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("previewWindow"));
    setWindowTitle(text(previewtext::kWindowTitle));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* densities = new QActionGroup(this);
    standardAction_ = bar->addAction(text(previewtext::kStandardDensity));
    standardAction_->setObjectName(QStringLiteral("previewStandardDensity"));
    standardAction_->setToolTip(text(previewtext::kStandardDensityTip));
    highAction_ = bar->addAction(text(previewtext::kHighDensity));
    highAction_->setObjectName(QStringLiteral("previewHighDensity"));
    highAction_->setToolTip(text(previewtext::kHighDensityTip));
    for (QAction* action : {standardAction_, highAction_}) {
        action->setCheckable(true);
        densities->addAction(action);
    }
    standardAction_->setChecked(true);
    connect(standardAction_, &QAction::triggered, this, [this] { setDensity(1); });
    connect(highAction_, &QAction::triggered, this, [this] { setDensity(2); });
    bar->addSeparator();
    QAction* back = bar->addAction(text(previewtext::kBack));
    back->setToolTip(text(previewtext::kBackTip));
    connect(back, &QAction::triggered, this, &CPreviewWindow::goBack);
    QAction* refresh = bar->addAction(text(previewtext::kRefresh));
    refresh->setObjectName(QStringLiteral("previewRebuild"));
    refresh->setToolTip(text(previewtext::kRefreshTip));
    connect(refresh, &QAction::triggered, this, &CPreviewWindow::rebuildNow);

    pages_ = new QStackedWidget(this);
    screen_ = new PreviewScreenWidget(pages_);
    screen_->setObjectName(QStringLiteral("previewScreen"));
    pages_->addWidget(screen_);
    auto* failure = new QWidget(pages_);
    auto* failureLayout = new QVBoxLayout(failure);
    failureHeading_ = new QLabel(failure);
    failureHeading_->setObjectName(QStringLiteral("previewFailureHeading"));
    failureHeading_->setWordWrap(true);
    QFont bold = failureHeading_->font();
    bold.setBold(true);
    failureHeading_->setFont(bold);
    failureText_ = new QPlainTextEdit(failure);
    failureText_->setObjectName(QStringLiteral("previewFailureText"));
    failureText_->setReadOnly(true);
    failureLayout->addWidget(failureHeading_);
    failureLayout->addWidget(failureText_, 1);
    pages_->addWidget(failure);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("previewStatus"));
    status_->setWordWrap(true);
    zoom_ = new QLabel(this);
    auto* statusLine = new QHBoxLayout;
    statusLine->addWidget(status_, 1);
    statusLine->addWidget(zoom_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(2);
    layout->addWidget(bar);
    layout->addWidget(pages_, 1);
    statusLine->setContentsMargins(6, 0, 6, 0);
    layout->addLayout(statusLine);

    connect(screen_, &PreviewScreenWidget::tapped, this, &CPreviewWindow::tap);
    connect(screen_, &PreviewScreenWidget::scrolled, this, &CPreviewWindow::scroll);
    changeTimer_.setSingleShot(true);
    changeTimer_.setInterval(kChangeDelayMs);
    connect(&changeTimer_, &QTimer::timeout, this, [this] { rebuilder_.request(); });
    connect(&rebuilder_, &PreviewRebuilder::buildStarted, this, &CPreviewWindow::buildStarted);
    connect(&rebuilder_, &PreviewRebuilder::buildFinished, this, &CPreviewWindow::buildFinished);
    setFocusProxy(screen_);
}

CPreviewWindow::~CPreviewWindow() = default;

void CPreviewWindow::setDocument(CSkedlinDoc* document) {
    document_ = document;
    rebuilder_.setDocument(document);
    documentChanged();
}

void CPreviewWindow::setDensity(int density) {
    density = density == 2 ? 2 : 1;
    (density == 2 ? highAction_ : standardAction_)->setChecked(true);
    if (density == density_) return;
    density_ = density;
    // Taps and scroll positions belong to the other density's layout.
    inputs_.removeIf([](const Input& input) { return input.kind == Input::Tap || input.kind == Input::Scroll; });
    if (package_) startSession();
}

PreviewWindowState CPreviewWindow::state() const {
    PreviewWindowState state;
    state.open = isVisible();
    state.geometry = geometry();
    state.geometryStored = true;
    state.density = density_;
    return state;
}

void CPreviewWindow::applyState(const PreviewWindowState& state) {
    setDensity(state.density);
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        onScreen = onScreen || screen->availableGeometry().intersects(state.geometry);
    if (state.geometryStored && onScreen) setGeometry(state.geometry);
}

void CPreviewWindow::documentChanged() {
    if (isVisible()) changeTimer_.start();
}

void CPreviewWindow::documentReplaced() {
    address_ = QStringLiteral("welcome");
    inputs_.clear();
    lastTarget_.clear();
    if (session_ && session_->ok()) navigate();
    documentChanged();
}

void CPreviewWindow::rebuildNow() {
    changeTimer_.stop();
    rebuilder_.request(true);
}

void CPreviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        changeTimer_.start();
        emit visibilityChanged(true);
    }
}

void CPreviewWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        // A closed preview costs nothing: no builds until it opens again.
        changeTimer_.stop();
        rebuilder_.cancel();
        emit visibilityChanged(false);
    }
}

void CPreviewWindow::buildStarted() { setStatus(text(previewtext::kUpdating)); }

void CPreviewWindow::buildFinished(const PreviewBuildResult& result) {
    if (!result.ok) {
        package_.reset();
        session_.reset();
        builtStatus_.clear();
        showFailure(text(previewtext::kBuildFailed), result.message, result.details);
        setStatus(QString());
        emit updated();
        return;
    }
    QString problem;
    package_ = preview::PreviewPackage::fromBytes(result.package, &problem);
    ids_ = result.ids;
    builtStatus_ = text(previewtext::kUpToDate).arg(result.milliseconds);
    if (!package_) {
        session_.reset();
        showFailure(text(previewtext::kCannotShow), problem, QString());
        setStatus(QString());
        emit updated();
        return;
    }
    // A selection made while the build ran (or an entry the last package did
    // not have) is shown now; otherwise the screen stays where the user took it.
    const QString target = followedAddress();
    if (!target.isEmpty() && target != lastTarget_) {
        address_ = target;
        inputs_.clear();
        lastTarget_ = target;
    }
    startSession();
    emit updated();
}

void CPreviewWindow::startSession() {
    session_ = std::make_unique<preview::PreviewSession>(package_, density_);
    if (!session_->ok()) {
        showFailure(text(previewtext::kCannotShow), session_->errorText(), QString());
        setStatus(QString());
        return;
    }
    navigate();
}

// Reaches the screen by its address, then repeats the inputs made since; a
// screen the new package no longer has falls back to the welcome screen.
void CPreviewWindow::navigate() {
    QString problem;
    QString message;
    if (!session_->goTo(address_, &problem)) {
        message = text(previewtext::kNotOnHandheld).arg(problem);
        address_ = QStringLiteral("welcome");
        inputs_.clear();
        session_->goTo(address_, nullptr);
    }
    const QList<Input> replay = inputs_;
    inputs_.clear();
    for (const Input& input : replay) apply(input);
    showScreen();
    setStatus(message.isEmpty() ? builtStatus_ : message);
}

void CPreviewWindow::followEntry(bool events, int entryIndex) {
    followEvents_ = events;
    followEntry_ = entryIndex;
    followTarget();
}

void CPreviewWindow::followProperties(bool open) {
    propertiesOpen_ = open;
    followTarget();
}

QString CPreviewWindow::followedAddress() const {
    if (propertiesOpen_) return QStringLiteral("welcome");
    const QList<int>& ids = followEvents_ ? ids_.events : ids_.contacts;
    if (followEntry_ < 0 || followEntry_ >= ids.size() || ids[followEntry_] < 0) return QString();
    return QStringLiteral("%1:%2")
        .arg(followEvents_ ? QStringLiteral("event") : QStringLiteral("contact"))
        .arg(ids[followEntry_]);
}

void CPreviewWindow::followTarget() {
    // Selecting the same entry again after the selection was cleared shows it again.
    if (!propertiesOpen_ && followEntry_ < 0) lastTarget_.clear();
    const QString target = followedAddress();
    // Only a new target moves the preview: the user may have tapped elsewhere since.
    if (target.isEmpty() || target == lastTarget_) return;
    lastTarget_ = target;
    address_ = target;
    inputs_.clear();
    if (session_ && session_->ok()) navigate();
}

void CPreviewWindow::apply(const Input& input) {
    if (!session_ || !session_->ok()) return;
    const int before = session_->screen();
    const std::vector<preview::PreviewSession::Row> rows =
        input.kind == Input::Tap ? session_->openableRows() : std::vector<preview::PreviewSession::Row>();
    int actions = 0;
    switch (input.kind) {
    case Input::Tap: actions = session_->tap(input.a, input.b); break;
    case Input::Command: actions = session_->command(input.a); break;
    case Input::Key: actions = session_->key(input.a); break;
    case Input::Scroll: actions = session_->scrollTo(input.a); break;
    }
    inputs_.append(input);

    // A tap that opened a row gives the new screen an address of its own, so
    // it is found again in the next package whatever the layout.
    const int after = session_->screen();
    if (input.kind == Input::Tap && after != before && !rows.empty()) {
        const auto nearest = std::min_element(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
            return std::abs(a.y - input.b) < std::abs(b.y - input.b);
        });
        if (nearest->kind == SKV_SCREEN_EVENT && after == SKV_SCREEN_EVENT) {
            address_ = QStringLiteral("event:%1").arg(nearest->value);
            inputs_.clear();
        } else if (nearest->kind == SKV_SCREEN_CONTACT && after == SKV_SCREEN_CONTACT) {
            address_ = QStringLiteral("contact:%1").arg(nearest->value);
            inputs_.clear();
        } else if (nearest->kind == SKV_SCREEN_GROUPS && after == SKV_SCREEN_EVENTS) {
            address_ = QStringLiteral("group:%1").arg(nearest->value + 1);
            inputs_.clear();
        }
    }
    if (actions & SKV_ACTION_COPY) setStatus(text(previewtext::kCopyOnHandheld));
    if (actions & SKV_ACTION_EXIT) setStatus(text(previewtext::kExitOnHandheld));
}

void CPreviewWindow::tap(int x, int y) {
    if (!session_ || !session_->ok()) return;
    // The scroll bar is the system's control on the handheld, not a core tap
    // zone: its arrows move one row, the track above or below the thumb a page.
    std::uint16_t count = 0;
    const skv_item* items = session_->display(&count);
    for (std::uint16_t i = 0; i < count; ++i) {
        const skv_item& bar = items[i];
        if (bar.kind != SKV_ITEM_SCROLLBAR || x < bar.x || x >= bar.x + bar.w || y < bar.y || y >= bar.y + bar.h)
            continue;
        if (bar.maximum <= 0) return;
        const int arrow = bar.w;
        const int track = std::max(1, bar.h - 2 * arrow);
        const int thumb = std::max(arrow, track * bar.page / (bar.maximum + bar.page));
        const int thumbTop = bar.y + arrow + (track - thumb) * bar.value / bar.maximum;
        int value = bar.value;
        if (y < bar.y + arrow) {
            value -= 1;
        } else if (y >= bar.y + bar.h - arrow) {
            value += 1;
        } else if (y < thumbTop) {
            value -= bar.page;
        } else if (y >= thumbTop + thumb) {
            value += bar.page;
        }
        value = std::clamp(value, 0, int(bar.maximum));
        if (value != bar.value) apply(Input{Input::Scroll, value, 0});
        showScreen();
        return;
    }
    apply(Input{Input::Tap, x, y});
    showScreen();
}

void CPreviewWindow::scroll(int steps) {
    if (!session_ || !session_->ok()) return;
    std::uint16_t count = 0;
    const skv_item* items = session_->display(&count);
    for (std::uint16_t i = 0; i < count; ++i) {
        if (items[i].kind != SKV_ITEM_SCROLLBAR) continue;
        const int value = std::clamp(items[i].value + steps, 0, std::max(0, int(items[i].maximum)));
        if (value != items[i].value) apply(Input{Input::Scroll, value, 0});
        showScreen();
        return;
    }
    apply(Input{Input::Key, steps < 0 ? SKV_KEY_PAGE_UP : SKV_KEY_PAGE_DOWN, 0});
    showScreen();
}

// Select: the screen's first button (Browse on the welcome screen, Done or
// Back on the others).
void CPreviewWindow::pressFirstButton() {
    if (!session_ || !session_->ok()) return;
    std::uint16_t count = 0;
    const skv_item* items = session_->display(&count);
    for (std::uint16_t i = 0; i < count; ++i) {
        if (items[i].kind != SKV_ITEM_BUTTON) continue;
        apply(Input{Input::Command, items[i].id, 0});
        showScreen();
        return;
    }
}

void CPreviewWindow::goBack() {
    if (!session_ || !session_->ok()) return;
    apply(Input{Input::Command, SKV_CMD_BACK, 0});
    showScreen();
}

void CPreviewWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        if (session_ && session_->ok()) {
            apply(Input{Input::Key, SKV_KEY_PAGE_UP, 0});
            showScreen();
        }
        return;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        if (session_ && session_->ok()) {
            apply(Input{Input::Key, SKV_KEY_PAGE_DOWN, 0});
            showScreen();
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter: pressFirstButton(); return;
    case Qt::Key_Escape:
    case Qt::Key_Left:
    case Qt::Key_Backspace: goBack(); return;
    default: QWidget::keyPressEvent(event);
    }
}

void CPreviewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!showsError()) zoom_->setText(text(previewtext::kZoom).arg(screen_->scale()));
}

void CPreviewWindow::showScreen() {
    if (!session_) return;
    screen_->setImage(session_->render());
    pages_->setCurrentIndex(kScreenPage);
    zoom_->setText(text(previewtext::kZoom).arg(screen_->scale()));
}

void CPreviewWindow::showFailure(const QString& heading, const QString& message, const QString& details) {
    failureHeading_->setText(heading);
    failureText_->setPlainText(details.isEmpty() ? message : message + QStringLiteral("\n\n") + details);
    pages_->setCurrentIndex(kFailurePage);
    zoom_->clear();
}

void CPreviewWindow::setStatus(const QString& text) { status_->setText(text); }

int CPreviewWindow::screenKind() const {
    return session_ && pages_->currentIndex() == kScreenPage ? session_->screen() : 0;
}
bool CPreviewWindow::showsError() const { return pages_->currentIndex() == kFailurePage; }
QString CPreviewWindow::errorText() const { return showsError() ? failureText_->toPlainText() : QString(); }
QString CPreviewWindow::statusText() const { return status_->text(); }
QImage CPreviewWindow::screenImage() const { return screen_->image(); }

}  // namespace skedlin

namespace skedlin {

QStringList CPreviewWindow::screenTexts() const {
    QStringList texts;
    if (!session_ || showsError()) return texts;
    std::uint16_t count = 0;
    const skv_item* items = session_->display(&count);
    for (std::uint16_t i = 0; i < count; ++i) {
        if (items[i].text && items[i].length > 0) texts.append(QString::fromLatin1(items[i].text, items[i].length));
    }
    return texts;
}

}  // namespace skedlin
