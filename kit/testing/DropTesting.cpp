#include "DropTesting.h"

#include <QMimeData>
#include <QPointF>
#include <QUrl>

#include "DropDelivery.h"

namespace kit::testing {

void DropFiles(BView* view, const std::vector<std::string>& paths, BPoint screenPoint)
{
	QMimeData data;
	QList<QUrl> urls;
	for (const std::string& path : paths)
		urls << QUrl::fromLocalFile(QString::fromStdString(path));
	data.setUrls(urls);
	DeliverDrop(view, &data, QPointF(screenPoint.x, screenPoint.y));
}

void DropData(
	BView* view, const std::vector<std::pair<std::string, std::string>>& offers, BPoint screenPoint)
{
	QMimeData data;
	for (const auto& [type, bytes] : offers)
		data.setData(
			QString::fromStdString(type), QByteArray(bytes.data(), qsizetype(bytes.size())));
	DeliverDrop(view, &data, QPointF(screenPoint.x, screenPoint.y));
}

} // namespace kit::testing
