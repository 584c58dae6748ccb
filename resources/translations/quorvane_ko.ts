<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>ConversionError</name>
    <message>
        <location filename="../../src/services/conversion_errors.cpp" line="+20"/>
        <source>Cancelled</source>
        <translation>취소됨</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>%1 was stopped by signal %2 (%3)</source>
        <extracomment>%1 is an encoder program such as cwebp, %2 a signal number, %3 its name</extracomment>
        <translation>%1이(가) 시그널 %2(%3)에 의해 중지되었습니다</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 could not convert the image (exit status %2)</source>
        <extracomment>%1 is an encoder program such as cwebp, %2 its exit status</extracomment>
        <translation>%1이(가) 이미지를 변환하지 못했습니다(종료 상태 %2)</translation>
    </message>
    <message>
        <location line="+4"/>
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
        <location line="+2"/>
        <source>The file is empty</source>
        <translation>파일이 비어 있습니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The file is no longer there</source>
        <translation>파일이 더 이상 없습니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not an image, or a kind this program cannot read</source>
        <translation>이미지가 아니거나 이 프로그램이 읽을 수 없는 종류입니다</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The image data is damaged</source>
        <translation>이미지 데이터가 손상되었습니다</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Image too large (%1 × %2 pixels; the limit is %3 pixels)</source>
        <extracomment>%1 x %2 is the image&apos;s size in pixels, %3 the largest pixel count allowed</extracomment>
        <translation>이미지가 너무 큽니다(%1 × %2픽셀, 한도는 %3픽셀)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 cannot hold an image of %2 × %3 pixels (%4)</source>
        <extracomment>%1 is a format such as WebP, %2 x %3 the output&apos;s size, %4 why it does not fit</extracomment>
        <translation>%1 형식은 %2 × %3픽셀 이미지를 저장할 수 없습니다(%4)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 image sequences are not supported</source>
        <extracomment>%1 is HEIF or AVIF</extracomment>
        <translation>%1 이미지 시퀀스는 지원되지 않습니다</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>This %1 image is put together in a way the installed HEIF library cannot read</source>
        <extracomment>%1 is HEIF or AVIF. The image is put together from parts (turned, cropped, tiled).</extracomment>
        <translation>이 %1 이미지는 설치된 HEIF 라이브러리가 읽을 수 없는 방식으로 구성되어 있습니다</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The encoder wrote a file that cannot be read back</source>
        <translation>인코더가 쓴 파일을 다시 읽을 수 없습니다</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>No space left on the device</source>
        <translation>장치에 남은 공간이 없습니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The disk quota is used up</source>
        <translation>디스크 할당량을 모두 사용했습니다</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Permission denied</source>
        <translation>권한이 없습니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The disk is read-only</source>
        <translation>디스크가 읽기 전용입니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No such file or folder</source>
        <translation>파일이나 폴더가 없습니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The name is too long</source>
        <translation>이름이 너무 깁니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No free name is left</source>
        <translation>사용할 수 있는 이름이 남아 있지 않습니다</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Cannot read the file</source>
        <translation>파일을 읽을 수 없습니다</translation>
    </message>
    <message>
        <location line="+6"/>
        <location filename="../../src/services/image_converter.cpp" line="+239"/>
        <location filename="../../src/services/roads/png_road.cpp" line="+21"/>
        <location filename="../../src/services/roads/road.cpp" line="+50"/>
        <location filename="../../src/services/staged_output.cpp" line="+30"/>
        <source>Cannot write the output file</source>
        <translation>출력 파일을 쓸 수 없습니다</translation>
    </message>
    <message>
        <location filename="../../src/services/process_runner.cpp" line="+221"/>
        <source>Cannot start %1</source>
        <translation>%1을(를) 실행할 수 없습니다</translation>
    </message>
    <message>
        <location filename="../../src/services/conversion_errors.cpp" line="-82"/>
        <location line="+50"/>
        <location filename="../../src/services/run_conversion.cpp" line="+213"/>
        <source>Not enough memory</source>
        <translation>메모리가 부족합니다</translation>
    </message>
    <message>
        <location filename="../../src/services/run_conversion.cpp" line="+6"/>
        <source>Conversion failed</source>
        <translation>변환 실패</translation>
    </message>
    <message>
        <location filename="../../src/services/file_service.cpp" line="+84"/>
        <location line="+136"/>
        <source>Cannot choose an output name</source>
        <translation>출력 파일 이름을 정할 수 없습니다</translation>
    </message>
    <message>
        <location filename="../../src/services/temporary_files.cpp" line="+87"/>
        <source>Cannot create a temporary folder</source>
        <translation>임시 폴더를 만들 수 없습니다</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Cannot create a temporary file</source>
        <translation>임시 파일을 만들 수 없습니다</translation>
    </message>
    <message>
        <location filename="../../src/services/format_limits.cpp" line="+75"/>
        <source>its sides are at most %1 pixels</source>
        <extracomment>why a format cannot hold an image, e.g. &quot;its sides are at most 16,383 pixels&quot;</extracomment>
        <translation>변의 길이는 최대 %1픽셀입니다</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>it needs a short side of %1 pixels or more once the long side reaches %2</source>
        <extracomment>why a format cannot hold an image</extracomment>
        <translation>긴 변이 %2 이상이면 짧은 변이 %1픽셀 이상이어야 합니다</translation>
    </message>
    <message>
        <location filename="../../src/services/roads/jxl_road.cpp" line="+61"/>
        <source>The JPEG XL file does not give the original JPEG back byte for byte, so it was not written</source>
        <translation>JPEG XL 파일에서 원본 JPEG가 바이트 단위로 그대로 돌아오지 않아 파일을 쓰지 않았습니다</translation>
    </message>
    <message>
        <location line="+53"/>
        <location filename="../../src/services/roads/road.cpp" line="+17"/>
        <location filename="../../src/services/roads/tool_inputs.cpp" line="+73"/>
        <source>Cannot write a temporary file</source>
        <translation>임시 파일을 쓸 수 없습니다</translation>
    </message>
    <message>
        <location filename="../../src/services/image_converter.cpp" line="-168"/>
        <source>Cannot create the output folder</source>
        <translation>출력 폴더를 만들 수 없습니다</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>JPEG XL needs the programs of libjxl-tools: %1</source>
        <extracomment>%1 says which program is missing and where it was looked for</extracomment>
        <translation>JPEG XL에는 libjxl-tools의 프로그램이 필요합니다: %1</translation>
    </message>
    <message>
        <location filename="../../src/services/lossless_error.cpp" line="+13"/>
        <source>Lossless cannot be combined with Auto: choose a format, or Same as Original</source>
        <translation>무손실은 자동과 함께 쓸 수 없습니다: 형식을 고르거나 &apos;원본과 같게&apos;를 고르세요</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Lossless HEIC is not available: the HEIC encoder cannot keep every pixel. Choose PNG, WebP or AVIF, or turn Lossless off</source>
        <translation>무손실 HEIC는 사용할 수 없습니다: HEIC 인코더는 모든 픽셀을 유지할 수 없습니다. PNG, WebP 또는 AVIF를 고르거나 무손실을 끄세요</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>The output is not lossless: the pixel at %1, %2 changed</source>
        <extracomment>%1, %2: the column and row of the first pixel that changed</extracomment>
        <translation>출력이 무손실이 아닙니다: %1, %2 위치의 픽셀이 바뀌었습니다</translation>
    </message>
    <message>
        <location filename="../../src/services/roads/jpeg_road.cpp" line="+29"/>
        <source>Lossless JPEG needs a complete JPEG at its own size: choose PNG or WebP, or Same as Original</source>
        <translation>무손실 JPEG에는 원래 크기의 완전한 JPEG가 필요합니다: PNG나 WebP, 또는 &apos;원본과 같게&apos;를 고르세요</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>This JPEG is stored turned, and turning it upright changes pixels: choose PNG or WebP for it</source>
        <translation>이 JPEG는 회전된 채 저장되어 있어 바로 세우면 픽셀이 바뀝니다: PNG나 WebP를 고르세요</translation>
    </message>
</context>
<context>
    <name>ConversionNote</name>
    <message>
        <location filename="../../src/services/roads/road.cpp" line="-29"/>
        <source>Transparent areas filled with white</source>
        <extracomment>shown under a converted image that had transparent areas</extracomment>
        <translation>투명한 영역을 흰색으로 채웠습니다</translation>
    </message>
    <message>
        <location filename="../../src/services/carried_metadata.cpp" line="+16"/>
        <source>Colour profile ignored: it does not fit the image</source>
        <extracomment>shown under a converted image whose embedded profile is for another kind of image (a grey profile on colour pixels)</extracomment>
        <translation>색상 프로필을 무시했습니다: 이미지에 맞지 않습니다</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>XMP not kept: %1 is more than the %2 carried</source>
        <extracomment>shown under a converted image; %1 and %2 are sizes such as &quot;16.8 MB&quot;</extracomment>
        <translation>XMP를 유지하지 않았습니다: %1은(는) 유지되는 %2보다 큽니다</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Colour profile converted to sRGB (the embedded one is malformed)</source>
        <extracomment>shown under a converted image whose RGB profile is damaged</extracomment>
        <translation>색상 프로필을 sRGB로 변환했습니다(포함된 프로필이 잘못됨)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Colour profile converted to sRGB (only RGB profiles can be kept)</source>
        <extracomment>shown under a converted image when its colour profile could not be kept</extracomment>
        <translation>색상 프로필을 sRGB로 변환했습니다(RGB 프로필만 유지할 수 있음)</translation>
    </message>
    <message>
        <location filename="../../src/services/saving_policy.cpp" line="+20"/>
        <source>Skipped: not smaller than the original</source>
        <translation>건너뜀: 원본보다 작지 않음</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Skipped: %1% larger than the original</source>
        <extracomment>%1 is a whole percentage</extracomment>
        <translation>건너뜀: 원본보다 %1% 큼</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Skipped: only %1% smaller, minimum %2%</source>
        <extracomment>%1 is the saving, %2 the minimum asked for, both whole percentages</extracomment>
        <translation>건너뜀: %1%만 작아짐, 최소 %2%</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Kept the original: the %1 would not be smaller</source>
        <extracomment>%1 is a format, e.g. &quot;WebP&quot;</extracomment>
        <translation>원본 유지: %1(으)로는 작아지지 않습니다</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Kept the original: the %1 would be %2% larger</source>
        <extracomment>%1 is a format, e.g. &quot;WebP&quot;; %2 a whole percentage</extracomment>
        <translation>원본 유지: %1(으)로는 %2% 커집니다</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Kept the original: the %1 would be only %2% smaller (minimum %3%)</source>
        <extracomment>%1 is a format; %2 the saving, %3 the minimum asked for, both whole percentages</extracomment>
        <translation>원본 유지: %1(으)로는 %2%만 작아집니다(최소 %3%)</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1% larger than the original</source>
        <extracomment>%1 is a whole percentage</extracomment>
        <translation>원본보다 %1% 큼</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>only %1% smaller (minimum %2%)</source>
        <extracomment>%1 is the saving, %2 the minimum asked for, both whole percentages</extracomment>
        <translation>%1%만 작음(최소 %2%)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1, and a copy of the original would carry its camera data</source>
        <extracomment>%1 says why, e.g. &quot;Skipped: 12% larger than the original&quot;</extracomment>
        <translation>%1, 원본 사본에는 카메라 데이터가 포함됩니다</translation>
    </message>
    <message>
        <location filename="../../src/services/run_conversion.cpp" line="-165"/>
        <source>The file date could not be kept: %1</source>
        <extracomment>shown under a converted image</extracomment>
        <translation>파일 날짜를 유지하지 못했습니다: %1</translation>
    </message>
    <message>
        <location filename="../../src/services/left_out_notes.cpp" line="+18"/>
        <source>EXIF not kept: %1 is more than a %2 holds (%3)</source>
        <extracomment>shown under a converted image; %1 and %3 are sizes such as &quot;70.0 kB&quot;, %2 a format such as &quot;JPEG&quot;</extracomment>
        <translation>EXIF를 유지하지 않았습니다: %1은(는) %2에 담을 수 있는 양(%3)보다 큽니다</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>XMP not kept: %1 is more than a %2 holds (%3) and it holds no XMP element to split off</source>
        <extracomment>shown under a converted image; %1 and %3 are sizes, %2 a format such as &quot;JPEG&quot;</extracomment>
        <translation>XMP를 유지하지 않았습니다: %1은(는) %2에 담을 수 있는 양(%3)보다 크며 분리할 XMP 요소가 없습니다</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Colour profile not kept: %1 is more than a %2 holds (%3); colours converted to sRGB</source>
        <extracomment>shown under a converted image; %1 and %3 are sizes, %2 a format such as &quot;JPEG&quot;</extracomment>
        <translation>색상 프로필을 유지하지 않았습니다: %1은(는) %2에 담을 수 있는 양(%3)보다 큽니다. 색상은 sRGB로 변환했습니다</translation>
    </message>
    <message>
        <location filename="../../src/services/hdr_output.cpp" line="+20"/>
        <source>HDR (PQ) image tone-mapped to SDR (sRGB)</source>
        <extracomment>shown under a converted image: a high dynamic range (HDR) photo made fit for ordinary screens</extracomment>
        <translation>HDR(PQ) 이미지를 SDR(sRGB)로 톤 매핑함</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>HDR (HLG) image tone-mapped to SDR (sRGB)</source>
        <extracomment>shown under a converted image: a high dynamic range (HDR) photo made fit for ordinary screens</extracomment>
        <translation>HDR(HLG) 이미지를 SDR(sRGB)로 톤 매핑함</translation>
    </message>
    <message>
        <location filename="../../src/services/roads/jxl_road.cpp" line="-33"/>
        <source>Camera data kept: the original JPEG comes back byte for byte</source>
        <extracomment>shown under a JPEG recompressed reversibly to JPEG XL</extracomment>
        <translation>카메라 데이터 유지: 원본 JPEG를 바이트 단위로 그대로 되돌릴 수 있습니다</translation>
    </message>
    <message>
        <location filename="../../src/services/fit_under.cpp" line="+114"/>
        <source>%1 at %2 to fit under %3</source>
        <extracomment>%1 is a format (&quot;WebP&quot;), %2 a quality (0-100), %3 a size (&quot;200.0 kB&quot;)</extracomment>
        <translation>%3 이하로 맞추려고 %1 품질 %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 at %2 fits under %3</source>
        <translation>%1 품질 %2로 %3 이하</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Does not fit under %1 even at quality %2</source>
        <extracomment>%1 is a size (&quot;200.0 kB&quot;), %2 the lowest quality (0)</extracomment>
        <translation>품질 %2에서도 %1 이하로 줄일 수 없음</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Does not fit under %1: this format has no quality to lower</source>
        <extracomment>%1 is a size (&quot;200.0 kB&quot;); PNG and lossless outputs have no quality to lower</extracomment>
        <translation>%1 이하로 줄일 수 없음: 이 형식은 낮출 품질이 없습니다</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Lossless outputs cannot be made smaller to fit under %1: each is written as usual, and one over it is marked as not fitting</source>
        <extracomment>%1 is a size (&quot;200.0 kB&quot;)</extracomment>
        <translation>무손실 출력은 %1 이하로 맞추기 위해 줄일 수 없습니다: 평소처럼 쓰고, 넘는 출력은 맞지 않음으로 표시합니다</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>PNG outputs are not made smaller to fit under %1 (their quality only sets the palette): one over it is marked as not fitting</source>
        <extracomment>%1 is a size (&quot;200.0 kB&quot;)</extracomment>
        <translation>PNG 출력은 %1 이하로 맞추기 위해 줄이지 않습니다(품질은 팔레트만 정합니다): 넘는 출력은 맞지 않음으로 표시합니다</translation>
    </message>
</context>
<context>
    <name>DesktopIntegration</name>
    <message>
        <location filename="../../src/app/qt_desktop_integration.cpp" line="+55"/>
        <source>Cannot Open the Folder</source>
        <translation>폴더를 열 수 없습니다</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No program to show folders is set up on this system. The outputs are in:
%1</source>
        <translation>이 시스템에는 폴더를 보여 줄 프로그램이 설정되어 있지 않습니다. 출력 위치:
%1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Cannot Open the File</source>
        <translation>파일을 열 수 없습니다</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No program to open this file is set up on this system:
%1</source>
        <translation>이 시스템에는 이 파일을 열 프로그램이 설정되어 있지 않습니다:
%1</translation>
    </message>
</context>
<context>
    <name>FileDialogs</name>
    <message>
        <location filename="../../src/views/file_dialogs.cpp" line="+54"/>
        <source>Images (%1)</source>
        <translation>이미지 (%1)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Add Files</source>
        <translation>파일 추가</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>CSV spreadsheet (*.csv)</source>
        <translation>CSV 스프레드시트 (*.csv)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>JSON (*.json)</source>
        <translation>JSON (*.json)</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+15"/>
        <source>Export Report</source>
        <translation>보고서 내보내기</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The report could not be saved: %1</source>
        <translation>보고서를 저장하지 못했습니다: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Add Folder</source>
        <translation>폴더 추가</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Choose Output Folder</source>
        <translation>출력 폴더 선택</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>%1 cannot be written to (%2). Choose another folder.</source>
        <extracomment>%1 the folder, %2 the system&apos;s reason, such as &quot;Permission denied&quot;</extracomment>
        <translation>%1에 쓸 수 없습니다(%2). 다른 폴더를 선택하세요.</translation>
    </message>
</context>
<context>
    <name>Preset</name>
    <message>
        <location filename="../../src/models/preset.cpp" line="+45"/>
        <source>Web: WebP, 1920 px</source>
        <translation>웹: WebP, 1920 px</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Email: JPEG, 1280 px, under 500 kB</source>
        <translation>이메일: JPEG, 1280 px, 500 kB 미만</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Archive: lossless</source>
        <translation>보관: 무손실</translation>
    </message>
</context>
<context>
    <name>QualityVerdict</name>
    <message>
        <location filename="../../src/models/quality_verdict.cpp" line="+18"/>
        <source>identical to the eye</source>
        <extracomment>how an output compares with its original, to the eye</extracomment>
        <translation>육안으로 동일</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>very close</source>
        <translation>매우 비슷함</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>visible on close look</source>
        <translation>자세히 보면 차이 보임</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>visibly changed</source>
        <translation>눈에 띄게 달라짐</translation>
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
    <name>quorvane::core</name>
    <message>
        <location filename="../../src/services/conversion_ledger.cpp" line="+91"/>
        <source>The record of earlier conversions in %1 is not a regular file; it is left alone.</source>
        <translation>%1의 이전 변환 기록이 일반 파일이 아닙니다. 그대로 둡니다.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The record of earlier conversions in %1 is too large to read; it is left alone.</source>
        <translation>%1의 이전 변환 기록이 너무 커서 읽을 수 없습니다. 그대로 둡니다.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The record of earlier conversions in %1 could not be read: %2</source>
        <translation>%1의 이전 변환 기록을 읽을 수 없습니다: %2</translation>
    </message>
</context>
<context>
    <name>quorvane::core::ConversionLedger</name>
    <message>
        <location line="+117"/>
        <source>The record of earlier conversions in %1 is damaged; what could not be read is ignored.</source>
        <translation>%1의 이전 변환 기록이 손상되었습니다. 읽을 수 없는 부분은 무시합니다.</translation>
    </message>
    <message>
        <location line="+73"/>
        <source>The record of conversions in %1 could not be saved: %2</source>
        <translation>%1의 변환 기록을 저장할 수 없습니다: %2</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The record of conversions in %1 could not be saved: another conversion kept it locked.</source>
        <translation>%1의 변환 기록을 저장할 수 없습니다: 다른 변환이 잠그고 있었습니다.</translation>
    </message>
</context>
<context>
    <name>quorvane::core::ConversionViewModel</name>
    <message>
        <location filename="../../src/viewmodels/conversion_view_model_batch.cpp" line="+251"/>
        <source>Cancelling conversion</source>
        <translation>변환 취소 중</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Already converted</source>
        <translation>이미 변환됨</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Images converted: %1</source>
        <translation>변환된 이미지: %1개</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 failed</source>
        <translation>%1개 실패</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Conversion finished</source>
        <translation>변환 완료</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::CheckForUpdatesViewModel</name>
    <message>
        <location filename="../../src/app/check_for_updates_view_model.cpp" line="+110"/>
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
    <name>quorvane::gui::CompareCanvas</name>
    <message>
        <location filename="../../src/views/compare_canvas.cpp" line="+28"/>
        <source>Original and output</source>
        <translation>원본과 출력</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Arrow keys move the picture; plus and minus zoom; comma and period move the split line</source>
        <translation>화살표 키로 그림 이동, 더하기와 빼기로 확대/축소, 쉼표와 마침표로 분할선 이동</translation>
    </message>
    <message>
        <location line="+170"/>
        <source>Original</source>
        <translation>원본</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Output</source>
        <translation>출력</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::CompareView</name>
    <message>
        <location filename="../../src/views/compare_view.cpp" line="+40"/>
        <source>Compare</source>
        <translation>비교</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Compare original and output</source>
        <translation>원본과 출력 비교</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>&amp;Fit</source>
        <translation>맞춤(&amp;F)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show the whole picture (Ctrl+0)</source>
        <translation>그림 전체 보기 (Ctrl+0)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;100 %</source>
        <translation>&amp;100 %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>One pixel of the output per screen pixel (Ctrl+1)</source>
        <translation>출력 1픽셀을 화면 1픽셀로 (Ctrl+1)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom to 100 %</source>
        <translation>100 %로 확대/축소</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;200 %</source>
        <translation>&amp;200 %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Two screen pixels per pixel of the output (Ctrl+2)</source>
        <translation>출력 1픽셀을 화면 2픽셀로 (Ctrl+2)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom to 200 %</source>
        <translation>200 %로 확대</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>&amp;Side by Side</source>
        <translation>나란히(&amp;S)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Both pictures beside each other instead of a split line</source>
        <translation>분할선 대신 두 그림을 나란히 표시</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Difference Map</source>
        <translation>차이 지도(&amp;D)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Colours where the quality check sees the output differ: yellow a little, red most</source>
        <translation>품질 검사가 출력이 다르다고 보는 곳에 색을 칠합니다: 노랑은 조금, 빨강은 가장 많이</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>&amp;Quality:</source>
        <translation>품질(&amp;Q):</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quality to try</source>
        <translation>시험할 품질</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Encodes this image again at another quality, to see it here</source>
        <translation>이 이미지를 다른 품질로 다시 인코딩하여 여기에 표시</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>&amp;Use This Quality</source>
        <translation>이 품질 사용(&amp;U)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Converts this image again at the quality shown and keeps it for this image</source>
        <translation>표시된 품질로 이 이미지를 다시 변환하고 이 이미지에 그 품질을 유지</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Close</source>
        <translation>닫기</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Original: %1, %2</source>
        <translation>원본: %1, %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Original: %1, %2 × %3, %4</source>
        <translation>원본: %1, %2 × %3, %4</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>%1 % smaller</source>
        <translation>%1 % 작음</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1 % larger</source>
        <translation>%1 % 큼</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 (score %2)</source>
        <translation>%1 (점수 %2)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>quality not checked</source>
        <translation>품질 검사 안 함</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Trial: %1 at quality %2, %3, %4, %5</source>
        <translation>시험: %1 품질 %2, %3, %4, %5</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Output: %1 at quality %2, %3, %4, %5</source>
        <translation>출력: %1 품질 %2, %3, %4, %5</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Encoding at quality %1…</source>
        <translation>품질 %1(으)로 인코딩 중…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Decoding…</source>
        <translation>디코딩 중…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Measuring the difference…</source>
        <translation>차이 측정 중…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Decoding at full size…</source>
        <translation>원래 크기로 디코딩 중…</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom %1 %</source>
        <translation>배율 %1 %</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>In Auto the quality is the look to reach: choose a format to set one for an image</source>
        <translation>자동에서는 품질이 도달할 모양입니다. 이미지별로 정하려면 형식을 고르세요</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::ContentView</name>
    <message>
        <location filename="../../src/views/content_view.cpp" line="+75"/>
        <source>Images in output folders, left out: %1</source>
        <translation>출력 폴더에 있어 추가하지 않은 이미지: %1개</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Locations that could not be read: %1, such as %2 (%3)</source>
        <extracomment>%1 is how many, %2 the first of them, %3 why it could not be read</extracomment>
        <translation>읽을 수 없는 위치: %1곳, 예: %2(%3)</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Comp&amp;are</source>
        <translation>비교(&amp;A)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Original and output of the selected image side by side (Space)</source>
        <translation>선택한 이미지의 원본과 출력을 나란히 (Space)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Compare the selected image</source>
        <translation>선택한 이미지 비교</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>Op&amp;en in File Manager</source>
        <translation>파일 관리자에서 열기(&amp;E)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>C&amp;lear</source>
        <translation>지우기(&amp;L)</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Start &amp;Conversion</source>
        <extracomment>the main button while images wait; the same mnemonic as &quot;&amp;Convert All Again&quot;</extracomment>
        <translation>변환 시작(&amp;C)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Convert All Again</source>
        <extracomment>the main button once every image is finished; the same mnemonic as &quot;Start &amp;Conversion&quot;</extracomment>
        <translation>모두 다시 변환(&amp;C)</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Output Folder Cannot Be Written</source>
        <translation>출력 폴더에 쓸 수 없음</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing was converted: %1 cannot be written to (%2).</source>
        <extracomment>%1 the folder, %2 the system&apos;s reason, such as &quot;Permission denied&quot;</extracomment>
        <translation>아무것도 변환되지 않았습니다: %1에 쓸 수 없습니다(%2).</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Choose another folder for the outputs, or make this one writable and start again.</source>
        <translation>출력할 다른 폴더를 선택하거나, 이 폴더를 쓰기 가능하게 만든 뒤 다시 시작하세요.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>C&amp;hoose Another Folder…</source>
        <translation>다른 폴더 선택(&amp;H)…</translation>
    </message>
    <message>
        <location line="+93"/>
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
        <location filename="../../src/views/drop_zone_compact.cpp" line="+16"/>
        <source>Drop image files here</source>
        <translation>여기에 이미지 파일을 놓으세요</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Add images (drag &amp; drop)</source>
        <translation>이미지 추가 (드래그 앤 드롭)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Add F&amp;iles…</source>
        <translation>파일 추가(&amp;I)…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add Fol&amp;der…</source>
        <translation>폴더 추가(&amp;D)…</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::DropZoneView</name>
    <message>
        <location filename="../../src/views/drop_zone_view.cpp" line="+20"/>
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
        <source>Select F&amp;iles</source>
        <translation>파일 선택(&amp;I)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>PNG, JPEG, HEIC, WebP, AVIF, TIFF, GIF, BMP</source>
        <translation>PNG, JPEG, HEIC, WebP, AVIF, TIFF, GIF, BMP</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::FileListModel</name>
    <message>
        <location filename="../../src/views/file_list_model.cpp" line="+129"/>
        <source>File</source>
        <translation>파일</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Convert</source>
        <translation>변환</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Size</source>
        <translation>크기</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Ratio</source>
        <translation>절감률</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Looks</source>
        <extracomment>column header: how the output compares with its original to the eye</extracomment>
        <translation>겉보기</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Status</source>
        <translation>상태</translation>
    </message>
    <message>
        <location line="+81"/>
        <source>%1 → %2</source>
        <extracomment>original size, arrow, size after conversion</extracomment>
        <translation>%1 → %2</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Scores %1 of 100. From %2 up, no difference can be seen.</source>
        <extracomment>%1 is the score, such as 81.4; %2 the score from which nobody sees a difference</extracomment>
        <translation>100점 중 %1점입니다. %2점 이상이면 차이가 보이지 않습니다.</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+6"/>
        <source>Waiting</source>
        <translation>대기 중</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Converting</source>
        <translation>변환 중</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Done</source>
        <translation>완료</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Skipped</source>
        <translation>건너뜀</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Original kept</source>
        <translation>원본 유지</translation>
    </message>
    <message>
        <location line="-187"/>
        <source>→ %1</source>
        <extracomment>under the file name: the name of the file written</extracomment>
        <translation>→ %1</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Converting…</source>
        <translation>변환 중…</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Auto</source>
        <extracomment>the format Auto picks per image</extracomment>
        <translation>자동</translation>
    </message>
    <message>
        <location line="+151"/>
        <source>Error</source>
        <translation>오류</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::FileListView</name>
    <message>
        <location filename="../../src/views/file_list_view.cpp" line="+27"/>
        <source>Images</source>
        <translation>이미지</translation>
    </message>
    <message>
        <location line="+58"/>
        <source>Waiting</source>
        <translation>대기 중</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>&amp;Open</source>
        <translation>열기(&amp;O)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Com&amp;pare</source>
        <translation>비교(&amp;P)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Show in File &amp;Manager</source>
        <translation>파일 관리자에서 보기(&amp;M)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Convert &amp;All Again</source>
        <translation>모두 다시 변환(&amp;A)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Convert Again at &amp;Higher Quality</source>
        <translation>더 높은 품질로 다시 변환(&amp;H)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Retry Failed</source>
        <translation>실패한 항목 다시 시도(&amp;R)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Remove &amp;Finished</source>
        <translation>완료된 항목 제거(&amp;F)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Remove From &amp;List</source>
        <translation>목록에서 제거(&amp;L)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::FitUnderMenu</name>
    <message>
        <location filename="../../src/views/fit_under_menu.cpp" line="+27"/>
        <source>Each image is encoded at the highest quality, up to the one set, whose file is no larger. PNG and Lossless outputs have no quality to lower: they are only checked</source>
        <translation>각 이미지를 설정한 품질을 넘지 않는 범위에서 파일이 이 크기보다 크지 않은 가장 높은 품질로 인코딩합니다. PNG와 무손실 출력은 낮출 품질이 없어 확인만 합니다</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>&amp;No Limit</source>
        <extracomment>the size limit is off</extracomment>
        <translation>제한 없음(&amp;N)</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>&amp;Other Size…</source>
        <translation>다른 크기(&amp;O)…</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Largest file size, in bytes or with k (1000 bytes) or M (1,000,000 bytes), e.g. 200k or 1.5M:</source>
        <translation>최대 파일 크기(바이트, 또는 k = 1000바이트, M = 1,000,000바이트. 예: 200k, 1.5M):</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Fit Under</source>
        <translation>파일 크기 제한</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>“%1” is not a size from 1 byte to 1G. Type e.g. 200k or 1.5M:</source>
        <extracomment>shown again in the dialog after a size it cannot read</extracomment>
        <translation>“%1”은(는) 1바이트에서 1G 사이의 크기가 아닙니다. 200k나 1.5M처럼 입력하세요:</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Fit &amp;Under: %1</source>
        <extracomment>in the Options menu; %1 is the size limit in force (&quot;200.0 kB&quot;)</extracomment>
        <translation>파일 크기 제한: %1(&amp;U)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fit &amp;Under</source>
        <translation>파일 크기 제한(&amp;U)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::MainWindow</name>
    <message>
        <location filename="../../src/app/quorvane_app.cpp" line="+41"/>
        <source>Quit Quorvane?</source>
        <translation>Quorvane을 끝낼까요?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>A conversion is running. Quitting cancels it; the images converted so far are kept.</source>
        <translation>변환이 진행 중입니다. 끝내면 변환이 취소되지만 지금까지 변환한 이미지는 그대로 남습니다.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel and &amp;Quit</source>
        <translation>취소하고 끝내기(&amp;Q)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Keep Converting</source>
        <translation>계속 변환(&amp;K)</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>&amp;File</source>
        <translation>파일(&amp;F)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add &amp;Files…</source>
        <translation>파일 추가(&amp;F)…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Add F&amp;older…</source>
        <translation>폴더 추가(&amp;O)…</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Export &amp;Report…</source>
        <translation>보고서 내보내기(&amp;R)…</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&amp;Settings…</source>
        <translation>설정(&amp;S)…</translation>
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
        <location line="+1"/>
        <source>Check for Updates…</source>
        <translation>업데이트 확인…</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+33"/>
        <source>About Quorvane</source>
        <translation>Quorvane 정보</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;h3&gt;Quorvane %1&lt;/h3&gt;&lt;p&gt;Makes image files smaller: WebP, JPEG, PNG, HEIC, AVIF and JPEG XL, several at a time.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Quorvane %1&lt;/h3&gt;&lt;p&gt;이미지 파일을 더 작게 만듭니다. WebP, JPEG, PNG, HEIC, AVIF, JPEG XL을 지원하며 여러 파일을 한 번에 변환합니다.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::OptionsButton</name>
    <message>
        <location filename="../../src/views/options_button.cpp" line="+24"/>
        <source>Keep Camera &amp;Data</source>
        <translation>카메라 정보 유지(&amp;D)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Camera, lens, date, GPS position and copyright (EXIF and XMP) stay in the output</source>
        <translation>카메라, 렌즈, 날짜, GPS 위치, 저작권 정보(EXIF 및 XMP)를 출력 파일에 남깁니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep Colour &amp;Profile</source>
        <translation>색상 프로필 유지(&amp;P)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Wide-gamut photos (Display P3, Adobe RGB) keep their profile and colours</source>
        <translation>넓은 색역 사진(Display P3, Adobe RGB)의 프로필과 색상을 그대로 유지합니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep &amp;Transparency in PNG</source>
        <translation>PNG 투명도 유지(&amp;T)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>PNG outputs keep transparent areas; otherwise they are filled with white</source>
        <translation>PNG 출력 파일에서 투명한 영역을 유지합니다. 그렇지 않으면 흰색으로 채웁니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep File Dat&amp;es</source>
        <translation>파일 날짜 유지(&amp;E)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Each output gets its original&apos;s modification time</source>
        <translation>각 출력 파일에 원본의 수정 시간을 적용합니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep Folder &amp;Structure</source>
        <translation>폴더 구조 유지(&amp;S)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Images found in a folder go to the same subfolder of the output folder</source>
        <translation>폴더에서 찾은 이미지를 출력 폴더 안의 같은 하위 폴더에 저장합니다</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>S&amp;kip Files Already Converted</source>
        <translation>이미 변환한 파일 건너뛰기(&amp;K)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Images converted before into the output folder with the same settings are left alone</source>
        <translation>같은 설정으로 출력 폴더에 이미 변환한 이미지는 다시 변환하지 않습니다</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Lossless</source>
        <translation>무손실(&amp;L)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No pixel changes: JPEG stays JPEG without re-encoding, or becomes JPEG XL that gives it back byte for byte; PNG, WebP, AVIF and JPEG XL are written losslessly, with colour profile and transparency. Not for HEIC or Auto</source>
        <translation>픽셀을 전혀 바꾸지 않습니다: JPEG는 다시 인코딩하지 않고 JPEG로 두거나 바이트 단위로 되돌릴 수 있는 JPEG XL로, PNG·WebP·AVIF·JPEG XL은 색 프로필과 투명도를 유지한 채 무손실로 씁니다. HEIC와 자동에는 쓸 수 없습니다</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Auto Tries JPEG &amp;XL</source>
        <translation>자동에서 JPEG XL도 시도(&amp;X)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Auto also tries JPEG XL for each image. Not every image viewer opens JPEG XL files yet</source>
        <translation>자동에서 이미지마다 JPEG XL도 시도합니다. 아직 JPEG XL 파일을 열지 못하는 이미지 뷰어도 있습니다</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Auto at &amp;Best Effort</source>
        <translation>자동에서 더 공들여 인코딩(&amp;B)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>When Auto picks AVIF or JPEG XL, the chosen quality is encoded once more with the encoder&apos;s slower setting, and the smaller file that still looks the same is kept. Auto then takes more than twice as long</source>
        <translation>자동에서 AVIF 또는 JPEG XL이 선택되면 선택된 품질로 인코더의 느린 설정을 사용해 한 번 더 인코딩하고, 여전히 같아 보이는 더 작은 파일을 남깁니다. 자동 처리 시간이 두 배 넘게 걸립니다</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Check &amp;Quality</source>
        <translation>품질 확인(&amp;Q)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Each output is compared with its original and marked by how different it looks</source>
        <translation>각 출력 파일을 원본과 비교해 겉보기 차이가 얼마나 되는지 표시합니다</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Minimum Saving</source>
        <translation>최소 절감률(&amp;M)</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Any Saving</source>
        <extracomment>an output counts as smaller when it is smaller at all</extracomment>
        <translation>조금이라도 작으면</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+76"/>
        <source>At Least %1% Smaller</source>
        <extracomment>keep an output only when it is at least this much smaller</extracomment>
        <translation>%1% 이상 작은 파일만</translation>
    </message>
    <message>
        <location line="-64"/>
        <source>If an Output Is &amp;Not Smaller</source>
        <extracomment>what happens to an output that is not smaller than its original</extracomment>
        <translation>출력이 작아지지 않으면(&amp;N)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Keep the &amp;Original</source>
        <translation>원본 유지(&amp;O)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The original goes to the output folder instead, without camera data unless that is kept</source>
        <translation>대신 원본을 출력 폴더에 넣습니다(유지하지 않는 한 카메라 데이터 제외)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Skip the Image</source>
        <translation>이미지 건너뛰기(&amp;S)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Nothing is written for it</source>
        <translation>이 이미지는 아무것도 쓰지 않습니다</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Write the Output Anyway</source>
        <translation>그래도 출력 쓰기(&amp;W)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The larger output is written all the same</source>
        <translation>더 큰 출력도 그대로 씁니다</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Options</source>
        <translation>옵션</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>O&amp;ptions (%1)</source>
        <extracomment>the options button; %1 is how many options differ from their defaults</extracomment>
        <translation>옵션 (%1)(&amp;P)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>O&amp;ptions</source>
        <translation>옵션(&amp;P)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 on</source>
        <translation>%1개 켜짐</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::OutputFolderButton</name>
    <message>
        <location filename="../../src/views/output_folder_button.cpp" line="+19"/>
        <source>Cha&amp;nge Folder</source>
        <extracomment>opens a menu: choose a folder, a recent one, or the default</extracomment>
        <translation>폴더 변경(&amp;N)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Change Output Folder</source>
        <translation>출력 폴더 변경</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&amp;Choose Folder…</source>
        <translation>폴더 선택…(&amp;C)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Recent Folders</source>
        <translation>최근 폴더</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>&amp;Default: compressed/ Next to the First File</source>
        <extracomment>the output folder when none is chosen: a &quot;compressed&quot; folder beside the first listed file</extracomment>
        <translation>기본값: 첫 파일 옆의 compressed/(&amp;D)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::OutputFolderRow</name>
    <message>
        <location filename="../../src/views/output_folder_row.cpp" line="+23"/>
        <source>Output:</source>
        <translation>출력 위치:</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>compressed/ in %1</source>
        <extracomment>%1 is the folder the &quot;compressed&quot; folder is made in, e.g. ~/Pictures/2023</extracomment>
        <translation>%1 안의 compressed/</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>(compressed/ folder next to the first file)</source>
        <translation>(첫 번째 파일 옆의 compressed/ 폴더)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Output folder: %1</source>
        <translation>출력 폴더: %1</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::PresetsButton</name>
    <message>
        <location filename="../../src/views/presets_button.cpp" line="+27"/>
        <source>Pre&amp;sets</source>
        <extracomment>the menu of saved sets of every setting (format, quality, sizes, names, options)</extracomment>
        <translation>프리셋(&amp;S)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Presets</source>
        <translation>프리셋</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Saved sets of every setting but the output folder</source>
        <translation>출력 폴더를 제외한 모든 설정의 저장된 묶음</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>&amp;Save Current Settings as Preset…</source>
        <translation>현재 설정을 프리셋으로 저장(&amp;S)…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Rename Preset</source>
        <translation>프리셋 이름 바꾸기(&amp;R)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Delete Preset</source>
        <translation>프리셋 삭제(&amp;D)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1…</source>
        <extracomment>an entry of the Rename Preset and Delete Preset menus: %1 is a preset&apos;s name</extracomment>
        <translation>%1…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Built-in presets cannot be renamed or deleted</source>
        <extracomment>tooltip of Rename Preset and Delete Preset while there are only the built-in presets</extracomment>
        <translation>기본 제공 프리셋은 이름을 바꾸거나 삭제할 수 없습니다</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Name of the preset:</source>
        <translation>프리셋 이름:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>A preset needs a name.</source>
        <translation>프리셋에는 이름이 필요합니다.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>A preset&apos;s name can have at most %1 characters.</source>
        <translation>프리셋 이름은 최대 %1자까지 가능합니다.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A preset&apos;s name cannot hold line breaks or control characters.</source>
        <translation>프리셋 이름에는 줄 바꿈이나 제어 문자를 쓸 수 없습니다.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>“%1” is the name of a built-in preset.</source>
        <translation>“%1”은(는) 기본 제공 프리셋의 이름입니다.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Save Preset</source>
        <translation>프리셋 저장</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>A preset named “%1” exists already. Replace it with the current settings?</source>
        <translation>“%1” 프리셋이 이미 있습니다. 현재 설정으로 바꿀까요?</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Replace</source>
        <translation>바꾸기(&amp;R)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Rename Preset</source>
        <translation>프리셋 이름 바꾸기</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Another preset is named “%1” already.</source>
        <translation>“%1” 이름의 다른 프리셋이 이미 있습니다.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Delete Preset</source>
        <translation>프리셋 삭제</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete the preset “%1”? The current settings stay as they are.</source>
        <translation>“%1” 프리셋을 삭제할까요? 현재 설정은 그대로 유지됩니다.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Delete</source>
        <translation>삭제(&amp;D)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SettingsBar</name>
    <message>
        <location filename="../../src/views/settings_bar.cpp" line="+198"/>
        <source>Format</source>
        <translation>형식</translation>
    </message>
    <message>
        <location line="-144"/>
        <source>WebP: 75 to 85 suits photos; 100 keeps the most detail.</source>
        <translation>WebP: 사진에는 75~85가 알맞습니다. 100은 디테일을 가장 많이 살립니다.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>JPEG: 75 to 85 suits photos; below 50 blocks begin to show.</source>
        <translation>JPEG: 사진에는 75~85가 알맞습니다. 50 미만에서는 블록 현상이 보이기 시작합니다.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>PNG: quality sets the colours: 64 up to 50, 128 up to 75, 256 above.</source>
        <translation>PNG: 품질에 따라 색상 수가 정해집니다(50 이하 64색, 75 이하 128색, 그 이상 256색).</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>HEIC: looks like JPEG at the same number, at about half the size.</source>
        <translation>HEIC: 같은 값의 JPEG와 비슷한 화질을 절반 정도의 크기로 냅니다.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>AVIF: 60 to 80 suits photos; 100 is nearly lossless.</source>
        <translation>AVIF: 사진에는 60~80이 알맞습니다. 100은 거의 무손실입니다.</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Applies to the next batch</source>
        <extracomment>tooltip of the settings while a batch runs: they are fixed for it</extracomment>
        <translation>다음 일괄 작업에 적용됩니다</translation>
    </message>
    <message>
        <location line="+59"/>
        <source>For&amp;mat:</source>
        <translation>형식(&amp;M):</translation>
    </message>
    <message>
        <location line="-111"/>
        <source>JPEG XL: 75 to 90 suits photos; 90 is what cjxl calls visually lossless.</source>
        <translation>JPEG XL: 사진에는 75~90이 알맞습니다. 90은 cjxl이 &apos;눈으로는 무손실&apos;이라 부르는 값입니다.</translation>
    </message>
    <message>
        <location line="+118"/>
        <source>Smaller than JPEG at the same look, and holds a JPEG without any loss; not every image viewer opens it yet</source>
        <translation>같은 화질에서 JPEG보다 작고, JPEG를 손실 없이 그대로 담을 수 있습니다. 아직 열지 못하는 이미지 뷰어도 있습니다</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Auto</source>
        <extracomment>format menu: per image, the smallest format that looks the same</extracomment>
        <translation>자동</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Per image, the smallest of WebP, JPEG, AVIF and PNG that looks the same; quality sets how close</source>
        <translation>이미지마다 WebP, JPEG, AVIF, PNG 중 겉보기가 같은 가장 작은 형식을 고릅니다. 얼마나 가깝게 맞출지는 품질로 정합니다</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Same as Original</source>
        <extracomment>format menu: each image stays in its own format</extracomment>
        <translation>원본과 같게</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>JPEG stays JPEG, PNG stays PNG, and so on; TIFF, BMP and GIF become PNG</source>
        <translation>JPEG는 JPEG로, PNG는 PNG로 유지됩니다. TIFF, BMP, GIF는 PNG가 됩니다</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>&amp;Quality:</source>
        <translation>품질(&amp;Q):</translation>
    </message>
    <message>
        <location line="+4"/>
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
        <location line="+14"/>
        <location line="+7"/>
        <source>Quality</source>
        <translation>품질</translation>
    </message>
    <message>
        <location filename="../../src/views/settings_bar_rows.cpp" line="+60"/>
        <source>Resi&amp;ze</source>
        <translation>크기 조정(&amp;Z)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Max &amp;width:</source>
        <translation>최대 너비(&amp;W):</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>&amp;Original</source>
        <translation>원본(&amp;O)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>C&amp;ustom</source>
        <translation>사용자 지정(&amp;U)</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Star&amp;t:</source>
        <translation>시작 번호(&amp;T):</translation>
    </message>
    <message>
        <location line="-57"/>
        <source>px</source>
        <translation>px</translation>
    </message>
    <message>
        <location filename="../../src/views/settings_bar.cpp" line="-178"/>
        <source>Auto: each image as small as it can be while it looks %1 (scoring %2 or more).</source>
        <extracomment>%1: e.g. &quot;very close&quot;; %2: the lowest score allowed (of 100), e.g. 80</extracomment>
        <translation>자동: 겉보기가 &apos;%1&apos; 수준을 유지하는 범위에서 각 이미지를 최대한 작게 만듭니다(점수 %2 이상).</translation>
    </message>
    <message>
        <location filename="../../src/views/settings_bar_rows.cpp" line="-36"/>
        <source>Maximum width</source>
        <translation>최대 너비</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Maximum height</source>
        <translation>최대 높이</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Max hei&amp;ght:</source>
        <translation>최대 높이(&amp;G):</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>any</source>
        <extracomment>shown in an empty size field</extracomment>
        <translation>제한 없음</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Filename:</source>
        <translation>파일 이름:</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Prefi&amp;x:</source>
        <translation>접두사(&amp;X):</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Prefix</source>
        <translation>접두사</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Start number</source>
        <translation>시작 번호</translation>
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
        <source>(compressed/ folder next to the first file)</source>
        <translation>(첫 번째 파일 옆의 compressed/ 폴더)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SummaryView</name>
    <message>
        <location filename="../../src/views/summary_view.cpp" line="+57"/>
        <source>Conversion progress</source>
        <translation>변환 진행률</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>less than a minute left</source>
        <translation>1분 미만 남음</translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>about %n seconds left</source>
        <translation>
            <numerusform>약 %n초 남음</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>about %n min left</source>
        <translation>
            <numerusform>약 %n분 남음</numerusform>
        </translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1 of %2 converted</source>
        <translation>%2개 중 %1개 변환됨</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 failed</source>
        <translation>%1개 실패</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 skipped</source>
        <extracomment>images not kept (too little saving) or converted before</extracomment>
        <translation>%1개 건너뜀</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>%n original(s) kept</source>
        <extracomment>images whose converted file would have been larger: the original was kept</extracomment>
        <translation>
            <numerusform>원본 %n개 유지</numerusform>
        </translation>
    </message>
    <message>
        <location line="+35"/>
        <source>%1 of %2</source>
        <extracomment>the batch&apos;s progress for screen readers, e.g. &quot;3 of 20&quot;</extracomment>
        <translation>%2개 중 %1개</translation>
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
