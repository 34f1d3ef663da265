// MemoAccessible: the accessible interface of a Memo.
#include "memo_accessible.h"

void InstallMemoAccessibility() {}
