#include "session.h"

namespace Session {
CurrentOperator &current()
{
    static CurrentOperator op;
    return op;
}
} // namespace Session
