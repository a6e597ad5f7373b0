// The yardstick for start-up: what a five-line OpenCV program does to show
// a picture, and then a second window, each until a key is pressed. It
// reads vantrel.jpg from the folder it is started in, in grey as the
// programs do. scripts/measure-start times it beside them.

#include <opencv2/highgui.hpp>
#include <opencv2/imgcodecs.hpp>

int main() {
    const cv::Mat picture = cv::imread("vantrel.jpg", cv::IMREAD_GRAYSCALE);
    cv::namedWindow("my window");
    cv::imshow("my window", picture);
    cv::waitKey(0);
    cv::namedWindow("my window 2");
    cv::imshow("my window 2", picture);
    cv::waitKey(0);
}
