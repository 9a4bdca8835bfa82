#pragma once
// The picture of a measurement scheme: the plant and the consumer, the supply, return and third pipe
// the scheme has, the measuring points on them, the direction of flow and a caption. Drawn with QPainter
// from SchemePictureLayout; every text drawn can be recorded, so what a picture says can be checked.

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "config/scheme_picture_layout.h"

class QPainter;

inline constexpr QSize kSchemePictureSize(400, 260);

// Draws `layout` with `caption` under it into `area`; each text drawn is appended to `drawn` when given.
void PaintSchemePicture(QPainter& painter, const QRect& area, const SchemePictureLayout& layout, const QString& caption,
                        QStringList* drawn = nullptr);

// The picture of `scheme` (0: no pipes, only the caption) as an image of `size`.
QImage RenderSchemePicture(int scheme, const QString& caption, QSize size = kSchemePictureSize,
                           QStringList* drawn = nullptr);

class CSchemePicture : public QWidget {
    Q_OBJECT

public:
    explicit CSchemePicture(QWidget* parent = nullptr);

    void SetPicture(int scheme, const QString& caption);
    int Scheme() const { return m_layout.scheme; }
    const QString& PictureCaption() const { return m_caption; }
    // The texts of the last paint, in drawing order.
    const QStringList& DrawnTexts() const { return m_drawn; }

    QSize sizeHint() const override { return kSchemePictureSize; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SchemePictureLayout m_layout;
    QString m_caption;
    QStringList m_drawn;
};
