#pragma once
// The Qt signals of a report viewer window (TCustomWWWRepViewer::Signals()). The window is
// not a QObject itself (it is a report component); this object, owned by the window, sends
// its events beside the callbacks of the viewer interface. A slot that throws is caught by
// the window and shown through its host, as a failing handler is.

#include <QObject>
#include <QString>
#include <QStringList>

namespace quillon {

class TReportViewerSignals : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

  Q_SIGNALS:
    // A link of the document was clicked; handled: the viewer's hot-spot callback took it.
    void hotSpotClicked(const QString& url, bool handled);
    // The pointer moved onto a link (its URL) or off every link (an empty URL).
    void hotSpotCovered(const QString& url);
    // A form of the document was submitted ("name=value" results in form order).
    void formSubmitted(const QString& action, const QString& method, const QStringList& results);
    // The document history or its index changed.
    void historyChanged();
    // The page box shows another page, or the document another number of pages.
    void pageChanged(int page, int last);
};

}  // namespace quillon
