#include "update/QueryLatestVersion.h"

#include "update/Service.h"

UpdateStatus QueryLatestVersion(std::wstring& downloadAddress)
{
    std::optional<std::wstring> reply;
    {
        Service::CServiceT<> service;
        service.SetTimeout(2000);
        if (service.GetVersionInfo(6, &reply) != Service::statusOk)
            return ServiceError;
    }
    ReleaseDecision decision = DecideRelease(reply.value_or(std::wstring()));
    downloadAddress = std::move(decision.downloadAddress);
    return decision.status;
}
