# The version service's endpoint is built into the launcher. Only an http or
# https URL whose path is /Service.asmx is accepted; host and port come from
# it (80 or 443 when it names none).

# Sets VANTRELZ_SERVICE_HOST, _PORT, _TARGET and _SECURE from url in the
# caller's scope, or stops the configuration.
function(vantrelz_parse_service_url url)
  if(NOT url MATCHES "^(https?)://([A-Za-z0-9._-]+|\\[[0-9A-Fa-f:.]+\\])(:([0-9]+))?(/Service\\.asmx(\\?[^# ]*)?)$")
    message(FATAL_ERROR
      "VANTRELZ_VERSION_SERVICE_URL is \"${url}\": it must be an http or https URL whose path is /Service.asmx, "
      "such as http://127.0.0.1:8531/Service.asmx")
  endif()
  set(scheme "${CMAKE_MATCH_1}")
  set(host "${CMAKE_MATCH_2}")
  set(port "${CMAKE_MATCH_4}")
  set(target "${CMAKE_MATCH_5}")
  if(port STREQUAL "")
    if(scheme STREQUAL "https")
      set(port 443)
    else()
      set(port 80)
    endif()
  endif()
  if(port LESS 1 OR port GREATER 65535)
    message(FATAL_ERROR "VANTRELZ_VERSION_SERVICE_URL names port ${port}, outside 1 to 65535")
  endif()
  string(REGEX REPLACE "^\\[(.*)\\]$" "\\1" host "${host}")
  set(VANTRELZ_SERVICE_HOST "${host}" PARENT_SCOPE)
  set(VANTRELZ_SERVICE_PORT "${port}" PARENT_SCOPE)
  set(VANTRELZ_SERVICE_TARGET "${target}" PARENT_SCOPE)
  if(scheme STREQUAL "https")
    set(VANTRELZ_SERVICE_SECURE true PARENT_SCOPE)
  else()
    set(VANTRELZ_SERVICE_SECURE false PARENT_SCOPE)
  endif()
endfunction()

set(VANTRELZ_VERSION_SERVICE_URL "http://127.0.0.1:8531/Service.asmx"
    CACHE STRING "Endpoint of the version service (http[s]://HOST[:PORT]/Service.asmx[?QUERY])")
vantrelz_parse_service_url("${VANTRELZ_VERSION_SERVICE_URL}")
message(STATUS "Version service: ${VANTRELZ_VERSION_SERVICE_URL}")
