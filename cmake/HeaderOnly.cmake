# A header-only library from Debian's packages as an imported target. In a
# cross build its headers are taken from the build machine, without putting
# the machine's whole include directory on the path.
#   vantrel_header_only(TARGET FOLDER HEADER PACKAGE VERSION)
function(vantrel_header_only target folder header package version)
  if(TARGET ${target})
    return()
  endif()
  if(CMAKE_CROSSCOMPILING)
    find_path(${package}_HEADERS ${folder}/${header} PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    file(COPY ${${package}_HEADERS}/${folder} DESTINATION ${CMAKE_BINARY_DIR}/${package}-include)
    add_library(${target} INTERFACE IMPORTED)
    target_include_directories(${target} SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/${package}-include)
  else()
    find_package(${package} ${version} REQUIRED)
  endif()
endfunction()
