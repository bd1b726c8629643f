# The build's own mark: a digest of every source the programs are built from,
# written to OUT as LESSON_BUILD_ID (the file is touched only when it changes).
# Runs as a script: cmake -DLESSON_TREE=<dir> -DOUT=<file> -P cmake/build_id.cmake
file(GLOB_RECURSE sources LIST_DIRECTORIES false
     ${LESSON_TREE}/engine/*.cpp ${LESSON_TREE}/engine/*.h ${LESSON_TREE}/hosts/*.cpp ${LESSON_TREE}/hosts/*.h
     ${LESSON_TREE}/lessons_a/*.cpp ${LESSON_TREE}/lessons_a/*.h ${LESSON_TREE}/lessons_b/*.cpp
     ${LESSON_TREE}/lessons_b/*.h ${LESSON_TREE}/apps/*.cpp)
list(SORT sources)
set(digests "")
foreach(source ${sources})
  file(SHA256 ${source} digest)
  string(APPEND digests "${digest}\n")
endforeach()
string(SHA256 id "${digests}")
string(SUBSTRING ${id} 0 16 id)
set(text "#define LESSON_BUILD_ID \"${id}\"\n")
if(EXISTS ${OUT})
  file(READ ${OUT} old)
else()
  set(old "")
endif()
if(NOT old STREQUAL text)
  file(WRITE ${OUT} "${text}")
endif()
