# Fails when a file of the kit includes a Qt or X11 header: the kit is built and
# tested without a window system.
file(GLOB_RECURSE files ${KIT_DIR}/*.h ${KIT_DIR}/*.cpp)
set(offenders "")
foreach(f ${files})
  file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]+|Qt[A-Za-z]*/|X11/|xcb/)")
  if(lines)
    list(APPEND offenders "${f}: ${lines}")
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "The kit includes Qt or X11 headers:\n${offenders}")
endif()
message(STATUS "kit layering ok (${CMAKE_CURRENT_LIST_FILE})")
