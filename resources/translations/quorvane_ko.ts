<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>ConversionError</name>
    <message>
        <location filename="../../src/services/conversion_errors.cpp" line="+17"/>
        <source>Cancelled</source>
        <translation>취소됨</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Process exited with code %1: %2</source>
        <extracomment>%1 is the tool&apos;s exit status, %2 what it wrote to its error output</extracomment>
        <translation>프로세스가 코드 %1(으)로 종료되었습니다: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Image decoding failed</source>
        <translation>이미지를 디코딩하지 못했습니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>BMP export failed</source>
        <translation>BMP로 내보내지 못했습니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Output file was not created</source>
        <translation>출력 파일이 만들어지지 않았습니다</translation>
    </message>
    <message>
        <location filename="../../src/services/image_converter.cpp" line="+50"/>
        <location filename="../../src/services/staged_output.cpp" line="+24"/>
        <source>Cannot write the output file</source>
        <translation>출력 파일을 쓸 수 없습니다</translation>
    </message>
    <message>
        <location line="+183"/>
        <source>Cannot create the output folder</source>
        <translation>출력 폴더를 만들 수 없습니다</translation>
    </message>
    <message>
        <location filename="../../src/services/process_runner.cpp" line="+107"/>
        <source>terminated by signal %1 (%2)</source>
        <extracomment>%1 is a signal number, %2 its description such as &quot;Segmentation fault&quot;</extracomment>
        <translation>시그널 %1(%2)에 의해 종료됨</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Cannot start %1</source>
        <translation>%1을(를) 실행할 수 없습니다</translation>
    </message>
    <message>
        <location filename="../../src/viewmodels/conversion_view_model.cpp" line="+175"/>
        <source>Not enough memory</source>
        <translation>메모리가 부족합니다</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Conversion failed</source>
        <translation>변환 실패</translation>
    </message>
</context>
<context>
    <name>QuantizeError</name>
    <message>
        <location filename="../../src/services/png_quantizer.cpp" line="+14"/>
        <source>Image decoding failed</source>
        <translation>이미지를 디코딩하지 못했습니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Pixel buffer creation failed</source>
        <translation>픽셀 버퍼를 만들지 못했습니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Color quantization failed</source>
        <translation>색상 양자화에 실패했습니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>PNG write failed</source>
        <translation>PNG를 쓰지 못했습니다</translation>
    </message>
</context>
<context>
    <name>ToolError</name>
    <message>
        <location filename="../../src/services/tool_manager.cpp" line="+44"/>
        <source>App bundle resource path not found.</source>
        <translation>앱 리소스 폴더를 찾을 수 없습니다.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>CLI tool &apos;%1&apos; not found. Place binaries in %2/.</source>
        <extracomment>%1 is a program name such as cwebp, %2 the folder searched for it</extracomment>
        <translation>명령줄 도구 &apos;%1&apos;을(를) 찾을 수 없습니다. 실행 파일을 %2/ 폴더에 넣으세요.</translation>
    </message>
</context>
<context>
    <name>quorvane::core::ConversionViewModel</name>
    <message>
        <location filename="../../src/viewmodels/conversion_view_model.cpp" line="-107"/>
        <source>Cancelling conversion</source>
        <translation>변환 취소 중</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::CheckForUpdatesViewModel</name>
    <message>
        <location filename="../../src/app/check_for_updates_view_model.cpp" line="+120"/>
        <source>The update server did not answer in time.</source>
        <translation>업데이트 서버가 제시간에 응답하지 않았습니다.</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+21"/>
        <source>The update information could not be read.</source>
        <translation>업데이트 정보를 읽을 수 없습니다.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The version of this copy of Quorvane is unknown.</source>
        <translation>이 Quorvane의 버전을 알 수 없습니다.</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::ContentView</name>
    <message>
        <location filename="../../src/views/content_view.cpp" line="+122"/>
        <source>Open in File Manager</source>
        <translation>파일 관리자에서 열기</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Clear</source>
        <translation>지우기</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Start Conversion</source>
        <translation>변환 시작</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Cancelling…</source>
        <translation>취소 중…</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancelling conversion</source>
        <translation>변환 취소 중</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel conversion</source>
        <translation>변환 취소</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::DropZoneCompact</name>
    <message>
        <location filename="../../src/views/drop_zone_compact.cpp" line="+14"/>
        <source>Drop image files here</source>
        <translation>여기에 이미지 파일을 놓으세요</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Add images (drag &amp; drop)</source>
        <translation>이미지 추가 (드래그 앤 드롭)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::DropZoneView</name>
    <message>
        <location filename="../../src/views/drop_zone_view.cpp" line="+24"/>
        <source>Images (%1)</source>
        <translation>이미지 (%1)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Drop image files here</source>
        <translation>여기에 이미지 파일을 놓으세요</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Drag &amp; drop images here</source>
        <translation>여기에 이미지를 끌어다 놓으세요</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>or</source>
        <translation>또는</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+34"/>
        <source>Select Files</source>
        <translation>파일 선택</translation>
    </message>
    <message>
        <location line="-31"/>
        <source>PNG, JPEG, HEIC, WebP, AVIF, TIFF, GIF, BMP</source>
        <translation>PNG, JPEG, HEIC, WebP, AVIF, TIFF, GIF, BMP</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::FileListModel</name>
    <message>
        <location filename="../../src/views/file_list_model.cpp" line="+50"/>
        <source>File</source>
        <translation>파일</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Convert</source>
        <translation>변환</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Size</source>
        <translation>크기</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ratio</source>
        <translation>절감률</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Status</source>
        <translation>상태</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>%1 → %2</source>
        <extracomment>original size, arrow, size after conversion</extracomment>
        <translation>%1 → %2</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+5"/>
        <source>Waiting</source>
        <translation>대기 중</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Converting</source>
        <translation>변환 중</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Done</source>
        <translation>완료</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancelled</source>
        <translation>취소됨</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Error</source>
        <translation>오류</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::FileListView</name>
    <message>
        <location filename="../../src/views/file_list_view.cpp" line="+19"/>
        <source>Images</source>
        <translation>이미지</translation>
    </message>
    <message>
        <location line="+69"/>
        <source>Delete</source>
        <translation>목록에서 제거</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::MainWindow</name>
    <message>
        <location filename="../../src/app/quorvane_app.cpp" line="+26"/>
        <source>&amp;Quorvane</source>
        <translation>&amp;Quorvane</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Settings…</source>
        <translation>설정…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Quit</source>
        <translation>끝내기(&amp;Q)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Help</source>
        <translation>도움말(&amp;H)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Check for Updates…</source>
        <translation>업데이트 확인…</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+18"/>
        <source>About Quorvane</source>
        <translation>Quorvane 정보</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;h3&gt;Quorvane %1&lt;/h3&gt;&lt;p&gt;Makes image files smaller: WebP, JPEG, PNG, HEIC and AVIF, several at a time.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Quorvane %1&lt;/h3&gt;&lt;p&gt;이미지 파일을 더 작게 만듭니다. WebP, JPEG, PNG, HEIC, AVIF를 지원하며 여러 파일을 한 번에 변환합니다.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SettingsBar</name>
    <message>
        <location filename="../../src/views/settings_bar.cpp" line="+114"/>
        <source>Format:</source>
        <translation>형식:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Format</source>
        <translation>형식</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Quality:</source>
        <translation>품질:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Web Optimal</source>
        <translation>웹 최적</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Balance</source>
        <translation>균형</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>High Quality</source>
        <translation>고품질</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Quality</source>
        <translation>품질</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Resize</source>
        <translation>크기 조정</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>px</source>
        <translation>px</translation>
    </message>
    <message>
        <location line="-31"/>
        <source>Max width:</source>
        <translation>최대 너비:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Maximum width</source>
        <translation>최대 너비</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Max height:</source>
        <translation>최대 높이:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Maximum height</source>
        <translation>최대 높이</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Filename:</source>
        <translation>파일 이름:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Original</source>
        <translation>원본</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Custom</source>
        <translation>사용자 지정</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Prefix:</source>
        <translation>접두사:</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Prefix</source>
        <translation>접두사</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Start:</source>
        <translation>시작 번호:</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Start number</source>
        <translation>시작 번호</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Output:</source>
        <translation>출력 위치:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Change Folder</source>
        <translation>폴더 변경</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Choose Output Folder</source>
        <translation>출력 폴더 선택</translation>
    </message>
    <message>
        <location line="+64"/>
        <source>(compressed/ folder next to input files)</source>
        <translation>(입력 파일 옆의 compressed/ 폴더)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SettingsButton</name>
    <message>
        <location filename="../../src/views/settings_button.cpp" line="+14"/>
        <location line="+1"/>
        <source>Settings</source>
        <translation>설정</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SettingsView</name>
    <message>
        <location filename="../../src/views/settings_view.cpp" line="+55"/>
        <location line="+10"/>
        <source>Settings</source>
        <translation>설정</translation>
    </message>
    <message>
        <location line="+21"/>
        <location line="+18"/>
        <source>Language</source>
        <translation>언어</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Output:</source>
        <translation>출력 위치:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Reset to Default</source>
        <translation>기본값으로</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Default</source>
        <extracomment>Shown instead of the reset button while no output folder is chosen.</extracomment>
        <translation>기본값</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Please restart Quorvane for the language change to take effect.</source>
        <translation>언어 변경 사항을 적용하려면 Quorvane을 다시 시작하세요.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Close</source>
        <translation>닫기</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>(compressed/ folder next to input files)</source>
        <translation>(입력 파일 옆의 compressed/ 폴더)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SummaryView</name>
    <message>
        <location filename="../../src/views/summary_view.cpp" line="+53"/>
        <source>Converting...</source>
        <translation>변환 중…</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>%1/%2 files</source>
        <translation>파일 %1/%2개</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::UpdateResultDialog</name>
    <message>
        <location filename="../../src/app/update_result_dialog.cpp" line="+15"/>
        <source>Check for Updates</source>
        <translation>업데이트 확인</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Quorvane %1 is available.</source>
        <extracomment>%1 is a version number such as 1.2.0.</extracomment>
        <translation>Quorvane %1 버전을 사용할 수 있습니다.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>You have version %1.</source>
        <extracomment>%1 is the version number of the running copy.</extracomment>
        <translation>현재 버전은 %1입니다.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Download</source>
        <translation>다운로드</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>You&apos;re up to date.</source>
        <translation>최신 버전을 사용 중입니다.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quorvane %1 is the newest version.</source>
        <extracomment>%1 is a version number such as 1.2.0.</extracomment>
        <translation>현재 Quorvane %1 버전이 최신입니다.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Could not check for updates: %1</source>
        <extracomment>%1 says what went wrong, e.g. &quot;Connection refused&quot;.</extracomment>
        <translation>업데이트를 확인할 수 없습니다: %1</translation>
    </message>
</context>
</TS>
