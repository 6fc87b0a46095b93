#include "common/status.h"

namespace vorlix {

QString Status::ToString() const {
    switch (code_) {
        case Code::Ok: return QStringLiteral("ok");
        case Code::InvalidArgument: return QStringLiteral("invalid argument: ") + message_;
        case Code::Corruption: return QStringLiteral("corruption: ") + message_;
        case Code::IoError: return QStringLiteral("I/O error: ") + message_;
        case Code::NotFound: return QStringLiteral("not found: ") + message_;
        case Code::Cancelled: return QStringLiteral("cancelled: ") + message_;
    }
    return message_;
}

}  // namespace vorlix
