# Run after the page is linked: writes the service worker with this build's
# version (a hash of the files it caches) and copies the web app manifest
# and the icon beside the page.
#   cmake -DSITE=dir -DSRC=app/web -DICON=png -P stamp_site.cmake
set(files thalomir.html thalomir.js thalomir.wasm thalomir.data manifest.webmanifest)
configure_file(${SRC}/manifest.webmanifest ${SITE}/manifest.webmanifest COPYONLY)
if(EXISTS "${ICON}")
  configure_file(${ICON} ${SITE}/icon-256.png COPYONLY)
  list(APPEND files icon-256.png)
endif()
set(all "")
set(list "")
foreach(f ${files})
  file(SHA256 ${SITE}/${f} h)
  string(APPEND all "${h}")
  string(APPEND list "'${f}', ")
endforeach()
string(SHA256 version "${all}")
string(SUBSTRING ${version} 0 16 THALOMIR_SITE_VERSION)
string(REGEX REPLACE ", $" "" THALOMIR_SITE_FILES "${list}")
configure_file(${SRC}/sw.js.in ${SITE}/sw.js @ONLY)
