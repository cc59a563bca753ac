#include "hostsdk/instance_info.h"

IInstanceInfo::~IInstanceInfo() = default;
