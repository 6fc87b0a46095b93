#include "ui/pixel_viewer.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "picture/picture.h"
#include "session/flash_session.h"
#include "ui/pixel_zoom.h"

namespace vorlix {

// ---- one magnified picture

PixelCanvas::PixelCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PixelCanvas::SetImage(const QImage& image) {
    image_ = image;
    updateGeometry();
    resize(sizeHint());
    update();
}

void PixelCanvas::SetZoom(int zoom) {
    zoom_ = zoom;
    updateGeometry();
    resize(sizeHint());
    update();
}

void PixelCanvas::SetGrid(bool grid) {
    grid_ = grid;
    update();
}

void PixelCanvas::SetMark(QPoint pixel) {
    if (pixel == mark_) return;
    mark_ = pixel;
    update();
}

int PixelCanvas::Factor() const { return DeviceFactor(zoom_, devicePixelRatioF()); }

QSize PixelCanvas::sizeHint() const {
    const qreal dpr = devicePixelRatioF();
    return {int(std::ceil(image_.width() * Factor() / dpr)),
            int(std::ceil(image_.height() * Factor() / dpr))};
}

QPoint PixelCanvas::PixelAt(QPointF pos) const {
    const qreal dpr = devicePixelRatioF();
    const int k = Factor();
    return {int(std::floor(pos.x() * dpr / k)), int(std::floor(pos.y() * dpr / k))};
}

QImage PixelCanvas::ShownImage(const QRect& part) const {
    const int k = Factor();
    const QRect whole(0, 0, image_.width() * k, image_.height() * k);
    const QRect made = part.isNull() ? whole : part.intersected(whole);
    QImage shown = ScaleWhole(image_, k, made);
    // The grid runs along the first device pixel of every block, where
    // blocks are large enough to keep most of their colour.
    if (grid_ && k >= 4 && !shown.isNull()) {
        QPainter p(&shown);
        p.setPen(QColor(128, 128, 128, 160));
        const int firstX = (made.left() + k - 1) / k * k, firstY = (made.top() + k - 1) / k * k;
        for (int x = firstX; x <= made.right(); x += k)
            p.drawLine(x - made.left(), 0, x - made.left(), shown.height());
        for (int y = firstY; y <= made.bottom(); y += k)
            p.drawLine(0, y - made.top(), shown.width(), y - made.top());
    }
    return shown;
}

void PixelCanvas::paintEvent(QPaintEvent* event) {
    if (image_.isNull()) return;
    const qreal dpr = devicePixelRatioF();
    // Only what is to be painted is made: a large picture at 16x on a
    // fine screen would take tens of megabytes whole.
    const QRect exposed = event->rect();
    const int left = int(std::floor(exposed.x() * dpr)), top = int(std::floor(exposed.y() * dpr));
    const QRect part(left, top, int(std::ceil((exposed.x() + exposed.width()) * dpr)) - left,
                     int(std::ceil((exposed.y() + exposed.height()) * dpr)) - top);
    QImage shown = ShownImage(part);
    if (shown.isNull()) return;
    shown.setDevicePixelRatio(dpr);
    QPainter p(this);
    p.drawImage(QPointF(part.topLeft()) / dpr, shown);
    if (image_.valid(mark_)) {
        // Black inside white, seen on any colour.
        const qreal k = Factor() / devicePixelRatioF();
        const QRectF pixel(mark_.x() * k, mark_.y() * k, k, k);
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(pixel.adjusted(-1, -1, 0, 0));
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(pixel.adjusted(0, 0, -1, -1));
    }
}

void PixelCanvas::mouseMoveEvent(QMouseEvent* event) {
    emit pointed(PixelAt(event->position()));
    QWidget::mouseMoveEvent(event);
}

void PixelCanvas::leaveEvent(QEvent* event) {
    emit pointed({-1, -1});
    QWidget::leaveEvent(event);
}

void PixelCanvas::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) return QWidget::wheelEvent(event);
    emit zoomStepped(delta > 0 ? 1 : -1, event->position());
    event->accept();
}

// ---- the viewer

namespace {

QScrollArea* AreaFor(PixelCanvas* canvas, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setWidget(canvas);
    area->setWidgetResizable(false);
    area->setAlignment(Qt::AlignCenter);
    area->setBackgroundRole(QPalette::Dark);
    area->setMinimumSize(160, 120);
    return area;
}

// Scrolling one side scrolls the other to the same place.
void Couple(QScrollBar* a, QScrollBar* b) {
    QObject::connect(a, &QScrollBar::valueChanged, b, &QScrollBar::setValue);
    QObject::connect(b, &QScrollBar::valueChanged, a, &QScrollBar::setValue);
}

}  // namespace

PixelViewer::PixelViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("PixelViewer"));
    setWindowTitle(tr("Просмотр по пикселям"));

    ZoomSpin = new QSpinBox(this);
    ZoomSpin->setObjectName(QStringLiteral("ZoomSpin"));
    ZoomSpin->setRange(kViewerMinZoom, kViewerMaxZoom);
    ZoomSpin->setSuffix(QStringLiteral("×"));
    ZoomSpin->setValue(zoom_);
    ZoomSpin->setToolTip(tr("Масштаб: колесо мыши над картинкой, клавиши «+» и «−»"));
    GridBox = new QCheckBox(tr("Сетка"), this);
    GridBox->setObjectName(QStringLiteral("GridBox"));
    GridBox->setToolTip(tr("Линии между пикселями (от 4× и крупнее)"));

    OldCanvas = new PixelCanvas;
    OldCanvas->setObjectName(QStringLiteral("OldCanvas"));
    NewCanvas = new PixelCanvas;
    NewCanvas->setObjectName(QStringLiteral("NewCanvas"));
    oldArea_ = AreaFor(OldCanvas, this);
    newArea_ = AreaFor(NewCanvas, this);
    Couple(oldArea_->horizontalScrollBar(), newArea_->horizontalScrollBar());
    Couple(oldArea_->verticalScrollBar(), newArea_->verticalScrollBar());

    ReadoutLabel = new QLabel(this);
    ReadoutLabel->setObjectName(QStringLiteral("ReadoutLabel"));
    ReadoutLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ReadoutLabel->setMinimumHeight(ReadoutLabel->fontMetrics().height() * 2);

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(tr("Масштаб:"), this));
    controls->addWidget(ZoomSpin);
    controls->addSpacing(12);
    controls->addWidget(GridBox);
    controls->addStretch();

    auto* pictures = new QGridLayout;
    pictures->addWidget(new QLabel(tr("Старое изображение"), this), 0, 0);
    pictures->addWidget(new QLabel(tr("Новое изображение"), this), 0, 1);
    pictures->addWidget(oldArea_, 1, 0);
    pictures->addWidget(newArea_, 1, 1);
    pictures->setRowStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addLayout(pictures, 1);
    layout->addWidget(ReadoutLabel);

    connect(ZoomSpin, &QSpinBox::valueChanged, this, &PixelViewer::SetZoom);
    connect(GridBox, &QCheckBox::toggled, this, &PixelViewer::SetGrid);
    for (PixelCanvas* canvas : {OldCanvas, NewCanvas}) {
        connect(canvas, &PixelCanvas::pointed, this, &PixelViewer::PointAt);
        connect(canvas, &PixelCanvas::zoomStepped, this,
                [this, canvas](int step, QPointF pos) { StepZoom(step, canvas, pos); });
    }
    const auto shortcut = [this](const QList<QKeySequence>& keys, auto&& run) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, run);
        addAction(action);
    };
    shortcut({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal), QKeySequence::ZoomIn},
             [this] { SetZoom(zoom_ + 1); });
    shortcut({QKeySequence(Qt::Key_Minus), QKeySequence::ZoomOut}, [this] { SetZoom(zoom_ - 1); });
    shortcut({QKeySequence(Qt::Key_Escape)}, [this] { close(); });

    ShowPicture(nullptr, nullptr);
    resize(720, 480);
}

void PixelViewer::ShowPicture(const Picture* picture, const ListRow* row) {
    if (picture) {
        oldBitmap_ = picture->OldBitmap;
        newBitmap_ = picture->DecodedBitmap;
        oldStored_ = OldStoredPixels(*picture);
        newStored_ = NewStoredPixels(*picture);
    } else {
        oldBitmap_ = newBitmap_ = QImage();
        oldStored_ = newStored_ = StoredPixels();
    }
    OldCanvas->SetImage(oldBitmap_);
    NewCanvas->SetImage(newBitmap_);
    if (picture && row)
        setWindowTitle(
            tr("Просмотр по пикселям: № %1, PIT %2").arg((*row)[ColNumber], (*row)[ColPIT]));
    else
        setWindowTitle(tr("Просмотр по пикселям"));
    PointAt(pointed_);
}

void PixelViewer::SetZoom(int zoom) {
    zoom = std::clamp(zoom, kViewerMinZoom, kViewerMaxZoom);
    if (ZoomSpin->value() != zoom) ZoomSpin->setValue(zoom);  // comes back here
    if (zoom == zoom_) return;
    zoom_ = zoom;
    OldCanvas->SetZoom(zoom);
    NewCanvas->SetZoom(zoom);
}

bool PixelViewer::Grid() const { return GridBox->isChecked(); }

void PixelViewer::SetGrid(bool grid) {
    if (GridBox->isChecked() != grid) GridBox->setChecked(grid);
    OldCanvas->SetGrid(grid);
    NewCanvas->SetGrid(grid);
}

void PixelViewer::StepZoom(int step, PixelCanvas* canvas, QPointF pos) {
    QScrollArea* area = canvas == OldCanvas ? oldArea_ : newArea_;
    const QPointF inView = canvas->mapTo(area->viewport(), pos);
    const QPointF picturePos = pos / qreal(zoom_);
    SetZoom(zoom_ + step);
    // The same picture point under the pointer as before, where the canvas
    // is large enough to scroll.
    const QPointF target = picturePos * qreal(zoom_) - inView;
    area->horizontalScrollBar()->setValue(int(std::round(target.x())));
    area->verticalScrollBar()->setValue(int(std::round(target.y())));
}

void PixelViewer::PointAt(QPoint pixel) {
    pointed_ = pixel;
    OldCanvas->SetMark(pixel);
    NewCanvas->SetMark(pixel);
    if (oldBitmap_.isNull() && newBitmap_.isNull()) {
        ReadoutLabel->setText(tr("Выберите картинку в списке или в галерее"));
        return;
    }
    if (pixel.x() < 0 || pixel.y() < 0) {
        ReadoutLabel->setText(tr("Наведите указатель на пиксель"));
        return;
    }
    ReadoutLabel->setText(tr("x: %1, y: %2\nСтарое: %3\nНовое: %4")
                              .arg(pixel.x())
                              .arg(pixel.y())
                              .arg(PixelText(oldBitmap_, oldStored_, pixel),
                                   PixelText(newBitmap_, newStored_, pixel)));
}

QString PixelViewer::Readout() const { return ReadoutLabel->text(); }

QString PixelViewer::PixelText(const QImage& bitmap, const StoredPixels& stored, QPoint pixel) {
    if (!bitmap.valid(pixel)) return tr("вне картинки");
    QString value;
    if (const std::optional<std::uint16_t> v = stored.At(pixel.x(), pixel.y()); !v) {
        value = tr("нет данных");
    } else if (stored.depth == 12 || stored.depth == 16) {
        value = QStringLiteral("0x") +
                QStringLiteral("%1").arg(*v, stored.depth / 4, 16, QLatin1Char('0')).toUpper();
    } else {
        value = tr("индекс %1").arg(*v);
    }
    const QRgb c = bitmap.pixel(pixel);
    return tr("%1, RGB(%2, %3, %4)").arg(value).arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

}  // namespace vorlix
