#include "DropDelivery.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QUrl>

#include <map>
#include <memory>
#include <string>

#include "Looper.h"
#include "Messenger.h"
#include "ReplyEndpoint.h"
#include "View.h"

namespace kit {

// Qt's own in-process image format; what the view is offered instead is PNG.
static const char kQtImageFormat[] = "application/x-qt-image";

bool CanAcceptDrop(const QMimeData* data)
{
	return data != nullptr && (data->hasUrls() || data->hasImage() || !data->formats().isEmpty());
}

static void add_drop_fields(BMessage& message, const QPointF& globalPosition)
{
	message.AddPoint("_drop_point_", BPoint(float(globalPosition.x()), float(globalPosition.y())));
	// The kit cannot know where the source's pointer held the dragged thing.
	message.AddPoint("_drop_offset_", BPoint(0, 0));
	ReplyEndpoint::MarkDropped(message, true);
}

static QStringList local_files(const QMimeData* data)
{
	QStringList files;
	if (!data->hasUrls())
		return files;
	for (const QUrl& url : data->urls()) {
		if (url.isLocalFile())
			files << url.toLocalFile();
	}
	return files;
}

void DeliverDrop(BView* view, const QMimeData* data, const QPointF& globalPosition)
{
	BLooper* looper = view->Looper();
	if (looper == nullptr || data == nullptr)
		return;

	QStringList files = local_files(data);
	if (!files.isEmpty()) {
		BMessage drop(B_SIMPLE_DATA);
		for (const QString& file : files) {
			QFileInfo info(file);
			entry_ref ref(info.absolutePath().toStdString(), info.fileName().toStdString());
			drop.AddRef("refs", &ref);
		}
		add_drop_fields(drop, globalPosition);
		BMessenger(view).SendMessage(&drop);
		return;
	}

	// The drop event's data is gone once the event returns, and the view answers later:
	// keep the image types' data now, in the order the source offered them.
	auto offered = std::make_shared<std::map<std::string, QByteArray>>();
	BMessage drop(B_SIMPLE_DATA);
	drop.AddString("be:clip_name", "clipping");
	for (const QString& format : data->formats()) {
		if (format == QLatin1String(kQtImageFormat))
			continue;
		drop.AddString("be:types", format.toStdString());
		if (format.startsWith(QLatin1String("image")))
			(*offered)[format.toStdString()] = data->data(format);
	}
	if (data->hasImage() && offered->find("image/png") == offered->end()) {
		QByteArray png;
		QBuffer buffer(&png);
		buffer.open(QIODevice::WriteOnly);
		qvariant_cast<QImage>(data->imageData()).save(&buffer, "PNG");
		drop.AddString("be:types", "image/png");
		(*offered)["image/png"] = png;
	}
	drop.AddInt32("be:actions", int32(B_COPY_TARGET));
	add_drop_fields(drop, globalPosition);

	// The source's side of the exchange: answer a copy request with the data asked for.
	ReplyEndpoint::Attach(drop,
		std::make_shared<FunctionEndpoint>(
			[offered](const BMessage& reply, BHandler* replyTo) -> status_t {
				const char* type = nullptr;
				if (reply.what != B_COPY_TARGET || reply.FindString("be:types", &type) != B_OK)
					return B_BAD_VALUE;
				auto found = offered->find(type);
				if (found == offered->end())
					return B_NAME_NOT_FOUND;
				BMessage answer(B_MIME_DATA);
				answer.AddData(
					type, B_MIME_TYPE, found->second.constData(), ssize_t(found->second.size()));
				BMessenger target(replyTo);
				return target.SendMessage(&answer);
			}));
	BMessenger(view).SendMessage(&drop);
}

} // namespace kit
