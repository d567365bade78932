// The map view window, built into a module of its own.
#include "MapView.h"

#include "MapScale.h"
#include "lang/Texts4.h"
#include "link/Tune.h"

#include <QLabel>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QtCharts>
#include <QtDataVisualization>

namespace {

const vorn::Text4 kTitle{"Map view", "Kennfeldansicht", "Vue de la carte", "Pohled na mapu"};
const vorn::Text4 kSurfaceTab{"3D surface", "3D-Fläche", "Surface 3D", "3D plocha"};
const vorn::Text4 kCurvesTab{"Curves per throttle", "Kurven je Drosselstellung", "Courbes par papillon", "Křivky podle plynu"};
const vorn::Text4 kServoTab{"Servo curve", "Servokurve", "Courbe du servo", "Křivka serva"};
const vorn::Text4 kNo3D{"The 3D surface needs OpenGL, which is not available here. The curves and the servo curve work without it.",
                        "Die 3D-Fläche braucht OpenGL, das hier nicht verfügbar ist. Die Kurven und die Servokurve gehen ohne.",
                        "La surface 3D a besoin d'OpenGL, indisponible ici. Les courbes et la courbe du servo fonctionnent sans.",
                        "3D plocha potřebuje OpenGL, které zde není k dispozici. Křivky a křivka serva fungují i bez něj."};
const vorn::Text4 kLive{"live cell and its trail", "aktuelle Zelle und ihre Spur", "cellule active et sa trace",
                        "aktuální buňka a její stopa"};
const vorn::Text4 kSpeedTitle{"Speed [rpm]", "Drehzahl [rpm]", "Régime [rpm]", "Otáčky [rpm]"};
const vorn::Text4 kThrottleTitle{"Throttle [%]", "Drosselklappe [%]", "Papillon [%]", "Plyn [%]"};
const vorn::Text4 kAdvanceTitle{"Advance [°]", "Vorzündung [°]", "Avance [°]", "Předstih [°]"};
const vorn::Text4 kServoTitle{"Servo [mV]", "Servo [mV]", "Servo [mV]", "Servo [mV]"};

// Can this platform make an OpenGL context at all (not so on the offscreen platform)?
bool openGlAvailable()
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen")
        || QGuiApplication::platformName() == QLatin1String("minimal"))
        return false;
    QOpenGLContext context;
    if (!context.create())
        return false;
    QOffscreenSurface surface;
    surface.create();
    return context.makeCurrent(&surface);
}

QColor colourOf(vorn::mapview::Rgb c, int alpha = 255)
{
    return QColor(c.red, c.green, c.blue, alpha);
}

QColor trailColour(int shade)
{
    return colourOf(vorn::mapview::kTrailColour, 255 - shade * 45);
}

int rpmOf(const vorn::ParameterImage &im, int col)
{
    return 100 * im[vorn::Off::RpmAdv + col];
}

std::span<const std::uint8_t> bytesAt(const vorn::ParameterImage &im, int offset, int count)
{
    return {im.bytes.data() + offset, static_cast<std::size_t>(count)};
}

// A tick with its label on each point; the range from the first point to the last.
void showTicks(QCategoryAxis *axis, const std::vector<int> &points)
{
    for (const QString &label : axis->categoriesLabels())
        axis->remove(label);
    for (int v : points)
        axis->append(QString::number(v), v);
    axis->setStartValue(points.front());
    axis->setRange(points.front(), std::max(points.back(), points.front() + 100));
}

QCategoryAxis *speedAxis()
{
    auto *axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setLabelsAngle(-45);
    return axis;
}

}  // namespace

// The surface's speed axis: a grid line and a label on each of the map's speed points, where
// Qt's own formatter would divide the range evenly.
class SpeedPointFormatter : public QValue3DAxisFormatter {
public:
    void setPoints(const std::vector<int> &points)
    {
        points_ = points;
        markDirty(true);
    }

protected:
    QValue3DAxisFormatter *createNewInstance() const override { return new SpeedPointFormatter; }
    void populateCopy(QValue3DAxisFormatter &copy) const override
    {
        QValue3DAxisFormatter::populateCopy(copy);
        static_cast<SpeedPointFormatter &>(copy).points_ = points_;
    }
    void recalculate() override
    {
        gridPositions().clear();
        subGridPositions().clear();
        labelPositions().clear();
        labelStrings().clear();
        const float min = axis()->min(), span = std::max(axis()->max() - min, 1.0f);
        for (int p : points_) {
            gridPositions() << (float(p) - min) / span;
            labelPositions() << (float(p) - min) / span;
            labelStrings() << QString::number(p);
        }
    }

private:
    std::vector<int> points_;
};

MapView::MapView(const vorn::ParameterImage *image, const vorn::LiveCell *live, QWidget *parent)
    : QWidget(parent, Qt::Window), image_(image), live_(live)
{
    setObjectName("FormMapView");
    resize(900, 640);
    auto *v = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("MapViewTabs");
    v->addWidget(tabs_);
    tabs_->addTab(buildSurfaceTab(), QString());
    tabs_->addTab(buildCurvesTab(), QString());
    tabs_->addTab(buildServoTab(), QString());
    setLanguage(0);
    followEdits();
}

QWidget *MapView::buildSurfaceTab()
{
    if (!openGlAvailable()) {
        no3D_ = new QLabel;
        no3D_->setObjectName("LabelNo3D");
        no3D_->setAlignment(Qt::AlignCenter);
        no3D_->setWordWrap(true);
        return no3D_;
    }
    // No multisampling: where OpenGL runs in software every sample is paid for in each frame,
    // and the wireframe keeps the shape readable without it.
    QSurfaceFormat format;
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    format.setSamples(0);
    surface_ = new Q3DSurface(&format);
    // Shadows cost most of a frame where OpenGL runs in software, and tell a tuner nothing.
    surface_->setShadowQuality(QAbstract3DGraph::ShadowQualityNone);
    surfaceSeries_ = new QSurface3DSeries;
    surfaceSeries_->setDrawMode(QSurface3DSeries::DrawSurfaceAndWireframe);
    QLinearGradient g;
    g.setColorAt(0.0, QColor(49, 54, 149));
    g.setColorAt(0.5, QColor(255, 255, 191));
    g.setColorAt(1.0, QColor(165, 0, 38));
    surfaceSeries_->setBaseGradient(g);
    surfaceSeries_->setColorStyle(Q3DTheme::ColorStyleRangeGradient);
    surface_->addSeries(surfaceSeries_);
    surfaceSpeeds_ = new SpeedPointFormatter;
    surface_->axisX()->setFormatter(surfaceSpeeds_);
    surface_->axisY()->setLabelFormat(QStringLiteral("%d"));
    surface_->axisX()->setLabelFormat(QStringLiteral("%d"));
    surface_->axisZ()->setLabelFormat(QStringLiteral("%d"));
    surface_->axisZ()->setRange(0, 100);
    surface_->axisZ()->setSegmentCount(5);
    // The page lists 0 % first, at the top: here it lies at the back, 100 % in front.
    surface_->axisZ()->setReversed(true);
    for (auto *a : {surface_->axisX(), surface_->axisY(), surface_->axisZ()}) {
        a->setTitleVisible(true);
        a->setTitleFixed(false);   // titles turn with the labels, so they face the reader
        a->setLabelAutoRotation(60);
    }
    QFont font = surface_->activeTheme()->font();
    font.setPointSize(36);
    surface_->activeTheme()->setFont(font);
    // From the front, raised and turned a little, the whole map shows with none of it
    // hidden behind a ridge.
    Q3DCamera *camera = surface_->scene()->activeCamera();
    surface_->setHorizontalAspectRatio(1.0f);   // speed and throttle get the same depth
    camera->setCameraPosition(-40.0f, 30.0f, 78.0f);
    // Aimed below the middle: the view is wider than tall, and the speed and throttle
    // labels in front would otherwise leave the window while the sky above stays empty.
    camera->setTarget(QVector3D(0.0f, -0.6f, 0.0f));
    // The trail on the surface is drawn as small spheres (custom items), see showTrail.
    auto *container = QWidget::createWindowContainer(surface_);
    container->setObjectName("Surface3D");
    return container;
}

QWidget *MapView::buildCurvesTab()
{
    curves_ = new QChart;
    for (int r = 0; r < vorn::kMapSize; ++r) {
        rows_[r] = new QLineSeries;
        rows_[r]->setName(QStringLiteral("%1%").arg(vorn::kThrottleAxis[static_cast<std::size_t>(r)]));
        // Qt's theme has five colours and would give 0 % and 30 % the same.
        QPen pen(colourOf(vorn::mapview::throttleRowColour(r)));
        pen.setWidth(2);
        rows_[r]->setPen(pen);
        curves_->addSeries(rows_[r]);
    }
    for (int s = 0; s < kTrailShades; ++s) {
        curvesTrail_[s] = new QScatterSeries;
        curvesTrail_[s]->setColor(trailColour(s));
        curvesTrail_[s]->setBorderColor(trailColour(s));
        curvesTrail_[s]->setMarkerSize(14 - 2 * s);
        curves_->addSeries(curvesTrail_[s]);
    }
    // The speed axis has a tick on each of the map's own speed points.
    curvesRpm_ = speedAxis();
    curves_->addAxis(curvesRpm_, Qt::AlignBottom);
    curvesAdvance_ = new QValueAxis;
    curvesAdvance_->setLabelFormat(QStringLiteral("%d"));
    curves_->addAxis(curvesAdvance_, Qt::AlignLeft);
    for (auto *series : curves_->series()) {
        series->attachAxis(curvesRpm_);
        series->attachAxis(curvesAdvance_);
    }
    // The trail's shades share one legend entry, the newest's.
    for (int s = 1; s < kTrailShades; ++s)
        for (QLegendMarker *m : curves_->legend()->markers(curvesTrail_[s]))
            m->setVisible(false);
    curves_->legend()->setAlignment(Qt::AlignRight);
    auto *view = new QChartView(curves_);
    view->setObjectName("ChartCurves");
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

QWidget *MapView::buildServoTab()
{
    servo_ = new QChart;
    servoLine_ = new QLineSeries;
    servoLine_->setName("mV");
    servo_->addSeries(servoLine_);
    for (int s = 0; s < kTrailShades; ++s) {
        servoTrail_[s] = new QScatterSeries;
        servoTrail_[s]->setColor(trailColour(s));
        servoTrail_[s]->setBorderColor(trailColour(s));
        servoTrail_[s]->setMarkerSize(14 - 2 * s);
        servo_->addSeries(servoTrail_[s]);
    }
    // A tick on each of the servo map's speed points, as on the curves.
    servoRpm_ = speedAxis();
    servo_->addAxis(servoRpm_, Qt::AlignBottom);
    auto *mv = new QValueAxis;
    mv->setRange(0, 5000);
    mv->setTickCount(6);
    mv->setLabelFormat(QStringLiteral("%d"));
    servo_->addAxis(mv, Qt::AlignLeft);
    for (auto *series : servo_->series()) {
        series->attachAxis(servoRpm_);
        series->attachAxis(mv);
    }
    servo_->legend()->hide();
    auto *view = new QChartView(servo_);
    view->setObjectName("ChartServo");
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

void MapView::setLanguage(int language)
{
    language_ = language;
    setWindowTitle(vorn::text4(kTitle, language));
    tabs_->setTabText(0, vorn::text4(kSurfaceTab, language));
    tabs_->setTabText(1, vorn::text4(kCurvesTab, language));
    tabs_->setTabText(2, vorn::text4(kServoTab, language));
    if (no3D_)
        no3D_->setText(vorn::text4(kNo3D, language));
    curvesTrail_[0]->setName(vorn::text4(kLive, language));
    if (surface_) {
        surface_->axisX()->setTitle(vorn::text4(kSpeedTitle, language));
        surface_->axisZ()->setTitle(vorn::text4(kThrottleTitle, language));
        surface_->axisY()->setTitle(vorn::text4(kAdvanceTitle, language));
    }
    curvesRpm_->setTitleText(vorn::text4(kSpeedTitle, language));
    curvesAdvance_->setTitleText(vorn::text4(kAdvanceTitle, language));
    servoRpm_->setTitleText(vorn::text4(kSpeedTitle, language));
    servo_->axes(Qt::Vertical).value(0)->setTitleText(vorn::text4(kServoTitle, language));
}

void MapView::followEdits()
{
    const vorn::ParameterImage &im = *image_;
    const bool tpsMap = im[vorn::Off::TpsMap] != 0;
    const std::vector<int> speeds = vorn::mapview::speedTicks(bytesAt(im, vorn::Off::RpmAdv, vorn::kMapSize));
    if (speeds != curvesTicks_) {
        curvesTicks_ = speeds;
        showTicks(curvesRpm_, speeds);
        if (surfaceSpeeds_)
            surfaceSpeeds_->setPoints(speeds);
    }
    // Without the throttle map only the 100 % row is shown, and only it sets the scale.
    const int firstRow = tpsMap ? 0 : vorn::kMapSize - 1;
    const int rowsShown = vorn::kMapSize - firstRow;
    const vorn::mapview::AxisRange advance = vorn::mapview::advanceAxis(
        bytesAt(im, vorn::Off::Advance + vorn::kMapSize * firstRow, vorn::kMapSize * rowsShown));
    curvesAdvance_->setRange(advance.low, advance.high);
    curvesAdvance_->setTickCount((advance.high - advance.low) / advance.step + 1);
    for (int r = 0; r < vorn::kMapSize; ++r) {
        QList<QPointF> pts;
        for (int c = 0; c < vorn::kMapSize; ++c)
            pts << QPointF(rpmOf(im, c), im[vorn::Off::Advance + 10 * r + c]);
        rows_[r]->replace(pts);
        rows_[r]->setVisible(tpsMap || r == vorn::kMapSize - 1);   // one curve without the throttle map
    }

    QList<QPointF> servo;
    for (int k = 0; k < vorn::kMapSize; ++k)
        servo << QPointF(100 * im[vorn::Off::ServoRpm + k], 20 * im[vorn::Off::ServoMv + k]);
    servoLine_->replace(servo);
    const std::vector<int> servoSpeeds = vorn::mapview::speedTicks(bytesAt(im, vorn::Off::ServoRpm, vorn::kMapSize));
    if (servoSpeeds != servoTicks_) {
        servoTicks_ = servoSpeeds;
        showTicks(servoRpm_, servoSpeeds);
    }

    if (surfaceSeries_) {
        auto *rows = new QSurfaceDataArray;
        for (int r = 0; r < vorn::kMapSize; ++r) {
            auto *row = new QSurfaceDataRow(vorn::kMapSize);
            for (int c = 0; c < vorn::kMapSize; ++c)
                (*row)[c].setPosition(QVector3D(rpmOf(im, c), im[vorn::Off::Advance + 10 * r + c],
                                                vorn::kThrottleAxis[static_cast<std::size_t>(r)]));
            rows->append(row);
        }
        surfaceSeries_->dataProxy()->resetArray(rows);
        surface_->axisX()->setRange(speeds.front(), std::max(speeds.back(), speeds.front() + 100));
        // The surface shows every row, also those the throttle map leaves unused.
        const vorn::mapview::AxisRange all =
            vorn::mapview::advanceAxis(bytesAt(im, vorn::Off::Advance, vorn::kMapSize * vorn::kMapSize));
        surface_->axisY()->setRange(all.low, all.high);
        surface_->axisY()->setSegmentCount((all.high - all.low) / all.step);
    }
    showTrail();
}

void MapView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    followEdits();   // the image may have changed while the window was closed
}

void MapView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    trail_.clear();   // a trail shows the ride while it is watched; it starts anew
}

void MapView::followLive()
{
    if (!isVisible())
        return;   // a closed view costs nothing per reply
    trail_.push_front({*live_});
    while (static_cast<int>(trail_.size()) > kTrail)
        trail_.pop_back();
    showTrail();
}

void MapView::showTrail()
{
    const vorn::ParameterImage &im = *image_;
    QList<QPointF> curve[kTrailShades], servo[kTrailShades];
    const int perShade = kTrail / kTrailShades;
    for (std::size_t i = 0; i < trail_.size(); ++i) {
        const vorn::LiveCell &c = trail_[i].cell;
        const int shade = static_cast<int>(i) / perShade;
        if (!c.belowMap)
            curve[shade] << QPointF(rpmOf(im, c.advanceColumn),
                                    im[vorn::Off::Advance + 10 * c.throttleRow + c.advanceColumn]);
        servo[shade] << QPointF(100 * im[vorn::Off::ServoRpm + c.servoColumn],
                                20 * im[vorn::Off::ServoMv + c.servoColumn]);
    }
    for (int s = 0; s < kTrailShades; ++s) {
        curvesTrail_[s]->replace(curve[s]);
        servoTrail_[s]->replace(servo[s]);
    }
    if (surface_) {
        // Each sphere is a draw of its own in every frame, and software OpenGL pays for each:
        // a cell the trail passed again shows only its newest sphere, which is also the largest
        // and would cover the older ones anyway.
        bool seen[vorn::kMapSize * vorn::kMapSize] = {};
        for (int i = 0; i < kTrail; ++i) {
            const std::size_t at = static_cast<std::size_t>(i);
            bool use = at < trail_.size() && !trail_[at].cell.belowMap;
            if (use) {
                bool &was = seen[vorn::kMapSize * trail_[at].cell.throttleRow + trail_[at].cell.advanceColumn];
                use = !was;
                was = true;
            }
            if (!use) {
                if (trailShown_[i])
                    trailItems_[i]->setVisible(false);
                trailShown_[i] = false;
                continue;
            }
            const vorn::LiveCell &c = trail_[at].cell;
            const QVector3D p(rpmOf(im, c.advanceColumn), im[vorn::Off::Advance + 10 * c.throttleRow + c.advanceColumn],
                              vorn::kThrottleAxis[static_cast<std::size_t>(c.throttleRow)]);
            if (!trailItems_[i]) {
                // Made once, on first use: the shade of a place in the trail never changes.
                const int shade = i / perShade;
                auto *item = new QCustom3DItem;
                // A sphere of few faces: each frame shades every face of every marker, and the
                // finer built-in sphere made the markers cost four times the rest of the frame.
                item->setMeshFile(QStringLiteral(":/mapview/marker.obj"));
                item->setScaling(QVector3D(0.04f, 0.04f, 0.04f) * (1.0f - 0.15f * shade));
                QImage tex(2, 2, QImage::Format_ARGB32);
                tex.fill(trailColour(shade));
                item->setTextureImage(tex);
                item->setPosition(p);
                surface_->addCustomItem(item);
                trailItems_[i] = item;
            } else if (trailAt_[i] != p) {
                trailItems_[i]->setPosition(p);
            }
            if (!trailShown_[i])
                trailItems_[i]->setVisible(true);
            trailAt_[i] = p;
            trailShown_[i] = true;
        }
    }
}

extern "C" Q_DECL_EXPORT vorn::maps::MapViewWindow *vorn4CreateMapView(const vorn::ParameterImage *image,
                                                                       const vorn::LiveCell *live,
                                                                       QWidget *parent)
{
    return new MapView(image, live, parent);
}
