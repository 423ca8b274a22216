#include "batch/ReplyCapture.h"

#include "core/FreeName.h"
#include "core/LineFile.h"

QString replyCaptureName(const QTime& time)
{
    return QString::number(time.minute()) + QString::number(time.second()) + QString::number(time.msec());
}

void writeReplyCapture(const QString& folder, const QString& extension, const QStringList& lines)
{
    writeLineFile(
        takeFreeName(folder + QStringLiteral("/responses/") + replyCaptureName(QTime::currentTime()), extension),
        lines);
}
