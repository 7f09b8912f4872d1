#pragma once
#include "app/Platform.h"
#include <QList>
