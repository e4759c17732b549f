# The version service's endpoint is built into the launcher. Only an http URL
# whose path is /Service.asmx is accepted; host and port come from it.
set(VANTRELZ_VERSION_SERVICE_URL "http://127.0.0.1:8531/Service.asmx"
    CACHE STRING "Endpoint of the version service (http://HOST[:PORT]/Service.asmx[?QUERY])")

set(_url "${VANTRELZ_VERSION_SERVICE_URL}")
if(NOT _url MATCHES "^http://([A-Za-z0-9._-]+|\\[[0-9A-Fa-f:.]+\\])(:([0-9]+))?(/Service\\.asmx(\\?[^# ]*)?)$")
  message(FATAL_ERROR
    "VANTRELZ_VERSION_SERVICE_URL is \"${_url}\": it must be an http URL whose path is /Service.asmx, "
    "such as http://127.0.0.1:8531/Service.asmx")
endif()
set(VANTRELZ_SERVICE_HOST "${CMAKE_MATCH_1}")
set(VANTRELZ_SERVICE_PORT "${CMAKE_MATCH_3}")
set(VANTRELZ_SERVICE_TARGET "${CMAKE_MATCH_4}")
if(VANTRELZ_SERVICE_PORT STREQUAL "")
  set(VANTRELZ_SERVICE_PORT 80)
endif()
if(VANTRELZ_SERVICE_PORT LESS 1 OR VANTRELZ_SERVICE_PORT GREATER 65535)
  message(FATAL_ERROR "VANTRELZ_VERSION_SERVICE_URL names port ${VANTRELZ_SERVICE_PORT}, outside 1 to 65535")
endif()
string(REGEX REPLACE "^\\[(.*)\\]$" "\\1" VANTRELZ_SERVICE_HOST "${VANTRELZ_SERVICE_HOST}")
message(STATUS "Version service: ${_url}")
