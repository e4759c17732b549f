#include "update/CheckForUpdate.h"

void CheckForUpdate()
{
}
