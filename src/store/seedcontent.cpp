// SPDX-License-Identifier: GPL-3.0-or-later
#include "seedcontent.h"

// Texts are stored exactly as listed; "！" and "？" are the full-width forms.

namespace SeedContent {

const QList<QuestionTemplate> &questionTemplates()
{
    static const QList<QuestionTemplate> templates = {
        {QStringLiteral("请列举你今天看到的物体"), 0, 1, 1, QStringLiteral("看到的")},
        {QStringLiteral("请列举具有特征#的物体"), 3, 1, 2, QStringLiteral("#")},
        {QStringLiteral("请列举你认识的花"), 0, 1, 1, QStringLiteral("花")},
        {QStringLiteral("请列举可食用的物体"), 0, 1, 1, QStringLiteral("可食用的")},
        {QStringLiteral("请列举#的特征"), 1, 3, 2, QStringLiteral("#")},
        {QStringLiteral("请列举#的作用"), 1, 4, 3, QStringLiteral("#")},
        {QStringLiteral("请列举你认识的植物"), 0, 1, 1, QStringLiteral("植物")},
        {QStringLiteral("请列举你认识的动物"), 0, 1, 1, QStringLiteral("动物")},
        {QStringLiteral("请列举你认识的交通工具"), 0, 1, 1, QStringLiteral("交通工具")},
        {QStringLiteral("请列举与#相关的其他物体"), 1, 1, 4, QStringLiteral("#")},
        {QStringLiteral("请列举与#相关的动作"), 1, 2, 3, QStringLiteral("#")},
        {QStringLiteral("请列举能与#组合使用的物体"), 1, 1, 5, QStringLiteral("#")},
        {QStringLiteral("请列举你由#联想到的物体"), 1, 1, 3, QStringLiteral("#")},
        {QStringLiteral("请列举能发声的物体"), 0, 1, 1, QStringLiteral("能发声的")},
        {QStringLiteral("请列举能发光的物体"), 0, 1, 1, QStringLiteral("能发光的")},
        {QStringLiteral("请列举能起#作用的物体"), 4, 1, 4, QStringLiteral("#")},
        {QStringLiteral("请列举会移动的物体"), 0, 1, 1, QStringLiteral("会移动的")},
        {QStringLiteral("请列举会爆炸的物体"), 0, 1, 1, QStringLiteral("会爆炸的")},
        {QStringLiteral("请列举有毒的物体"), 0, 1, 1, QStringLiteral("有毒的")},
        {QStringLiteral("请列举有气味的物体"), 0, 1, 1, QStringLiteral("有气味的")},
        {QStringLiteral("请列举你今天听到的物体"), 0, 1, 1, QStringLiteral("听到的")},
        {QStringLiteral("请列举你今天接触到的物体"), 0, 1, 1, QStringLiteral("接触到的")},
        {QStringLiteral("请列举与动作#相关的物体"), 2, 1, 3, QStringLiteral("#")},
    };
    return templates;
}

const QList<FeedbackPhrase> &feedbackPhrases()
{
    static const QList<FeedbackPhrase> phrases = {
        {1, QStringLiteral("很好~~")},
        {1, QStringLiteral("非常好！")},
        {1, QStringLiteral("很棒哟~")},
        {1, QStringLiteral("回答的非常好！")},
        {1, QStringLiteral("Good~~~")},
        {1, QStringLiteral("Very Good！")},
        {1, QStringLiteral("太棒了！")},
        {1, QStringLiteral("一级棒~~")},
        {1, QStringLiteral("Greate！")},
        {1, QStringLiteral("你好聪明哟！")},
        {1, QStringLiteral("棒极了！")},
        {2, QStringLiteral("不要乱输入嘛~")},
        {2, QStringLiteral("输入错了吧！")},
        {2, QStringLiteral("认真点嘛~")},
        {2, QStringLiteral("必须用中文回答！")},
        {2, QStringLiteral("有没有搞错啊？")},
        {2, QStringLiteral("什么乱七八糟的！")},
        {2, QStringLiteral("不要乱回答！")},
        {2, QStringLiteral("请认真回答啊！")},
        {3, QStringLiteral("此回答已经有了哟~~~")},
        {3, QStringLiteral("重复回答了啦！")},
        {3, QStringLiteral("不能有重复的回答！")},
        {4, QStringLiteral("还玩不玩啊你！")},
        {4, QStringLiteral("靠~~~")},
        {4, QStringLiteral("不想玩了就滚！")},
        {4, QStringLiteral("还想不想玩啊你？")},
        {4, QStringLiteral("你已经多次乱输入~")},
        {4, QStringLiteral("请不要乱输入！")},
        {4, QStringLiteral("你脑子昏啦！")},
    };
    return phrases;
}

const QList<QString> &wordClasses()
{
    static const QList<QString> classes = {
        QStringLiteral("名词"), QStringLiteral("动词"), QStringLiteral("形容词"), QStringLiteral("作用描述"),
    };
    return classes;
}

const QList<DictionaryWord> &dictionaryWords()
{
    static const QList<DictionaryWord> words = {
        // class 1: 名词
        {1, QStringLiteral("桌子")}, {1, QStringLiteral("自行车")}, {1, QStringLiteral("老虎钳")},
        {1, QStringLiteral("起子")}, {1, QStringLiteral("扳手")}, {1, QStringLiteral("电风扇")},
        {1, QStringLiteral("插座")}, {1, QStringLiteral("砖头")}, {1, QStringLiteral("树木")},
        {1, QStringLiteral("笔")}, {1, QStringLiteral("小刀")}, {1, QStringLiteral("硬币")},
        {1, QStringLiteral("毛巾")}, {1, QStringLiteral("镜子")}, {1, QStringLiteral("拖鞋")},
        {1, QStringLiteral("洗脸盆")}, {1, QStringLiteral("曲别针")}, {1, QStringLiteral("存折")},
        {1, QStringLiteral("银行卡")}, {1, QStringLiteral("手机")}, {1, QStringLiteral("键盘")},
        {1, QStringLiteral("鼠标")}, {1, QStringLiteral("镜框")}, {1, QStringLiteral("玻璃")},
        {1, QStringLiteral("花瓶")}, {1, QStringLiteral("导线")}, {1, QStringLiteral("书")},
        {1, QStringLiteral("凉衣架")}, {1, QStringLiteral("灯泡")},
        // class 2: 动词
        {2, QStringLiteral("打击")}, {2, QStringLiteral("割")}, {2, QStringLiteral("切")},
        {2, QStringLiteral("踢")}, {2, QStringLiteral("奔跑")}, {2, QStringLiteral("跳")},
        {2, QStringLiteral("游泳")}, {2, QStringLiteral("吃饭")}, {2, QStringLiteral("走路")},
        {2, QStringLiteral("观察")}, {2, QStringLiteral("睡觉")}, {2, QStringLiteral("看书")},
        {2, QStringLiteral("过河")}, {2, QStringLiteral("刷牙")}, {2, QStringLiteral("擦地板")},
        {2, QStringLiteral("擦眼泪")}, {2, QStringLiteral("溜冰")}, {2, QStringLiteral("打羽毛球")},
        {2, QStringLiteral("跑步")}, {2, QStringLiteral("吃饭")}, {2, QStringLiteral("吵架")},
        {2, QStringLiteral("骂人")}, {2, QStringLiteral("旅行")}, {2, QStringLiteral("爬山")},
        {2, QStringLiteral("放屁")},
        // class 3: 形容词
        {3, QStringLiteral("红色")}, {3, QStringLiteral("白色")}, {3, QStringLiteral("蓝色")},
        {3, QStringLiteral("黑色")}, {3, QStringLiteral("圆")}, {3, QStringLiteral("扁")},
        {3, QStringLiteral("厚")}, {3, QStringLiteral("薄")}, {3, QStringLiteral("高")},
        {3, QStringLiteral("方正")}, {3, QStringLiteral("狡猾")}, {3, QStringLiteral("壮观")},
        {3, QStringLiteral("危险")}, {3, QStringLiteral("奇怪")}, {3, QStringLiteral("漫")},
        {3, QStringLiteral("飞快")}, {3, QStringLiteral("粗糙")}, {3, QStringLiteral("干净")},
        {3, QStringLiteral("热闹")}, {3, QStringLiteral("矮")}, {3, QStringLiteral("甜")},
        {3, QStringLiteral("苦")}, {3, QStringLiteral("长")}, {3, QStringLiteral("短")},
        {3, QStringLiteral("尖")}, {3, QStringLiteral("粗")}, {3, QStringLiteral("细")},
        {3, QStringLiteral("锋利")}, {3, QStringLiteral("猥琐")}, {3, QStringLiteral("龌龊")},
        {3, QStringLiteral("肮脏")}, {3, QStringLiteral("恶心")}, {3, QStringLiteral("恶臭")},
        {3, QStringLiteral("香喷喷")},
        // class 4: 作用描述
        {4, QStringLiteral("量距离")}, {4, QStringLiteral("画直线")}, {4, QStringLiteral("垫高")},
        {4, QStringLiteral("切割纸张")}, {4, QStringLiteral("写字")}, {4, QStringLiteral("挂东西")},
        {4, QStringLiteral("填饱肚子")}, {4, QStringLiteral("取暖")}, {4, QStringLiteral("御寒")},
        {4, QStringLiteral("防水")}, {4, QStringLiteral("防身")}, {4, QStringLiteral("保护头部")},
        {4, QStringLiteral("照明")}, {4, QStringLiteral("包东西")}, {4, QStringLiteral("驱蚊")},
        {4, QStringLiteral("锻炼身体")}, {4, QStringLiteral("止渴")}, {4, QStringLiteral("削苹果")},
        {4, QStringLiteral("过河")}, {4, QStringLiteral("刷牙")}, {4, QStringLiteral("擦地板")},
        {4, QStringLiteral("擦眼泪")},
    };
    return words;
}

} // namespace SeedContent
