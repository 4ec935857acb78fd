// Turns a drop on a view into the message the view expects: dropped files as B_SIMPLE_DATA
// with "refs"; dropped data as B_SIMPLE_DATA that offers its types ("be:clip_name",
// "be:types") and answers a B_COPY_TARGET reply with a B_MIME_DATA message carrying the
// chosen type's data. Both carry the drop point (screen coordinates) and offset.
#pragma once

class BView;
class QMimeData;
class QPointF;

namespace kit {

bool CanAcceptDrop(const QMimeData* data);
void DeliverDrop(BView* view, const QMimeData* data, const QPointF& globalPosition);

} // namespace kit
